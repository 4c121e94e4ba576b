#pragma once

#include "foundation/LinkTargets.h"

#include <QString>
#include <QUrl>
#include <vector>

// Opens nothing; remembers what it was asked to open and answers `succeed`.
class RecordingOpener : public LinkOpener {
public:
    bool openUrl(const QUrl& url) override
    {
        opened.push_back(url);
        return succeed;
    }
    bool showPage(const QUrl& url, const QString& examFolder, QObject*) override
    {
        shown.push_back(url);
        shownExamFolders.push_back(examFolder);
        return succeed;
    }
    std::vector<QUrl> opened;
    std::vector<QUrl> shown; // pages shown in the program's own view
    std::vector<QString> shownExamFolders;
    bool succeed = true;
};
