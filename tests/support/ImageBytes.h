#pragma once

#include <QByteArray>

// The header of a GIF of the given size: all the image-header reader looks
// at.
inline QByteArray gif(int width, int height)
{
    QByteArray b("GIF89a");
    b.resize(13, '\0');
    b[6] = char(width & 0xFF);
    b[7] = char(width >> 8);
    b[8] = char(height & 0xFF);
    b[9] = char(height >> 8);
    b[10] = char(0xF7);
    return b;
}
