#pragma once

#include <QString>

// Finds a file that a database names below a folder. The names were written
// on a file system that ignores case, so every part of the relative path
// matches an entry of any case (an exact match wins); "\" and "/" both
// separate parts. Parts "." and "..", empty parts and absolute paths find
// nothing, so a database cannot reach outside the folder. Returns the file's
// path with its real spelling, or "" when there is no such file.
QString findFileIgnoringCase(const QString& folder, const QString& relativePath);

// True when the file's real path (symbolic links resolved) lies inside the
// folder's real path; false when either is missing.
bool realPathInside(const QString& path, const QString& folder);
