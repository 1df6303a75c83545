// Build step: the installed theme icons are PNG renderings of the XPM sources.
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fputs("usage: xpm_to_png SOURCE.xpm TARGET.png\n", stderr);
        return 2;
    }
    const QImage image(QString::fromLocal8Bit(argv[1]));
    if (image.isNull() || !image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot convert %s\n", argv[1]);
        return 1;
    }
    return 0;
}
