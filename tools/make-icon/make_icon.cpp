// make-icon FILE: writes the drill's picture (screens/drill_icon.h) as a Windows icon file, at the sizes
// Explorer, the Start menu, the taskbar and high-density screens ask for. Each entry holds a PNG image,
// which Windows has read since Vista; the Windows build puts the file into both executables.

#include "screens/drill_icon.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QSaveFile>
#include <QtEndian>
#include <cstdio>

namespace {

constexpr int kSizes[] = {16, 20, 24, 32, 40, 48, 64, 96, 128, 256};

void appendLittleEndian16(QByteArray& out, quint16 value) {
    const quint16 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 2);
}

void appendLittleEndian32(QByteArray& out, quint32 value) {
    const quint32 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 4);
}

// ICONDIR, one ICONDIRENTRY per image, then the images.
QByteArray iconFile() {
    QList<QByteArray> images;
    for (const int size : kSizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        warizan::drillIconImage(size).save(&buffer, "PNG");
        images.append(png);
    }
    constexpr int kDirectorySize = 6;
    constexpr int kEntrySize = 16;
    QByteArray out;
    appendLittleEndian16(out, 0); // reserved
    appendLittleEndian16(out, 1); // an icon, not a cursor
    appendLittleEndian16(out, quint16(images.size()));
    quint32 offset = kDirectorySize + kEntrySize * quint32(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const int size = kSizes[i];
        out.append(char(size >= 256 ? 0 : size)); // width, 0 for 256
        out.append(char(size >= 256 ? 0 : size)); // height
        out.append(char(0));                      // no palette
        out.append(char(0));                      // reserved
        appendLittleEndian16(out, 1);             // colour planes
        appendLittleEndian16(out, 32);            // bits per pixel
        appendLittleEndian32(out, quint32(images[i].size()));
        appendLittleEndian32(out, offset);
        offset += quint32(images[i].size());
    }
    for (const QByteArray& image : images)
        out.append(image);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    const QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fputs("usage: make-icon FILE\n", stderr);
        return 2;
    }
    QSaveFile file(args.at(1));
    if (!file.open(QIODevice::WriteOnly) || file.write(iconFile()) < 0 || !file.commit()) {
        std::fprintf(stderr, "make-icon: cannot write %s\n", qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}
