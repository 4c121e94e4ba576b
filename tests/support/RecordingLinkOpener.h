#pragma once

#include "foundation/LinkTargets.h"

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
    std::vector<QUrl> opened;
    bool succeed = true;
};
