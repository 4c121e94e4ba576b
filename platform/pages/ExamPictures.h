#pragma once

#include "platform/pages/PictureResolver.h"

// The pictures a page of an exam may show: a picture's file, symbolic links
// resolved, must lie inside the exam's folder and be readable as a picture of
// an exam's folder is (platform/pages/ExamFile). A relative name is found
// from baseFolder (empty: the exam's folder), without regard to case where
// its spelling finds nothing. No exam folder, or the root folder: no
// pictures. Built for one sanitizing: the exam's folder is resolved once.
PictureResolver examFolderPictures(const QString& examFolder, const QString& baseFolder = QString());
