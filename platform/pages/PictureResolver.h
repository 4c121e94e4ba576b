#pragma once

#include <QString>

#include <functional>

// A picture that markup names (an img's src, a table's background), read from
// its address alone: no file has been looked at.
struct PictureReference {
    // The local path named, "/" separated, escapes decoded, without query or
    // fragment.
    QString path;
    // True when written relative to the page: found from the page's folder,
    // and, as the banks were written on a file system that ignores case,
    // without regard to case.
    bool relative = false;
};

// The real file a page shows the picture from, or "" to leave the picture
// out (its alternative text stays). Sanitized markup reaches the file system
// only through this function.
using PictureResolver = std::function<QString(const PictureReference&)>;
