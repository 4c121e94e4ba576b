#pragma once

#include <QString>
#include <QtGlobal>

// Reads the size, colour depth and kind of a picture from the first bytes of
// its file, without decoding the picture. Every call overwrites all four
// properties; a missing, unreadable, cut-short or unknown file leaves them 0.
class clsImage {
public:
    enum Type : int { NotRecognised = 0, Gif = 1, Jpeg = 2, Png = 3, Bmp = 4 };

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    quint8 Depth() const { return m_depth; } // bits per pixel
    int ImageType() const { return m_type; }

    void ReadImageInfo(const QString& path);

    // Only this many bytes from the start of a file are read.
    static constexpr int kBufferSize = 65536;

private:
    void clear();
    void readPng(const QByteArray& head);
    void readGif(const QByteArray& head);
    void readBmp(const QByteArray& head);
    void readJpeg(const QByteArray& head);

    int m_width = 0;
    int m_height = 0;
    quint8 m_depth = 0;
    int m_type = NotRecognised;
};
