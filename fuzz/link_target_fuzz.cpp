// A stored link of an exam database (a web link, or a link clicked in a page)
// through the link rules, the "www." form included: nothing, a refusal in
// words, or a target that is a web page, a plain e-mail address or a document
// inside the program's or the exam's folder.
#include "foundation/LinkTargets.h"
#include "foundation/ShownDocument.h"
#include "fuzz/support/FuzzFolders.h"
#include "fuzz/support/FailWith.h"
#include "platform/pages/FileLookup.h"

#include <QFileInfo>
#include <QUrlQuery>

#include <cstddef>
#include <cstdint>

namespace {

void checkRestricted(const LinkDecision& decision, const QString& target, LinkSource source, const char* data,
                     size_t size)
{
    const FuzzFolders& folders = fuzzFolders();
    const auto fail = [&](const std::string& why) {
        failWith(why + " (decided " + decision.url.toString(QUrl::FullyEncoded).toStdString() + ")", data, size);
    };
    switch (decision.kind) {
    case LinkDecision::Nothing:
        if (!preparedTarget(target, source, folders.program()).trimmed().isEmpty())
            fail("a target with text came to nothing");
        return;
    case LinkDecision::Refuse:
        if (decision.message.isEmpty())
            fail("a refusal without words");
        return;
    case LinkDecision::Open:
        break;
    }
    const QUrl& url = decision.url;
    if (!url.isValid())
        fail("an invalid address to open");
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) {
        if (url.host().isEmpty())
            fail("a web address without a host");
    } else if (scheme == QLatin1String("mailto")) {
        const QUrlQuery query(url);
        for (const auto& [key, value] : query.queryItems()) {
            const QString name = key.toLower();
            if (name != QLatin1String("to") && name != QLatin1String("cc") && name != QLatin1String("bcc")
                && name != QLatin1String("subject") && name != QLatin1String("body"))
                fail("an e-mail field " + key.toStdString());
        }
    } else if (scheme == QLatin1String("file")) {
        const QString real = QFileInfo(url.toLocalFile()).canonicalFilePath();
        if (real.isEmpty() || real != url.toLocalFile())
            fail("a local file opened by another name than its real one");
        if (!(realPathInside(real, folders.program()) || realPathInside(real, folders.exam())))
            fail("a local file outside the program's and the exam's folders");
        if (!isShownDocument(real))
            fail("a local file that is not a document");
    } else {
        fail("an address of scheme \"" + scheme.toStdString() + "\"");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    const QString target = QString::fromUtf8(bytes, qsizetype(size));
    const FuzzFolders& folders = fuzzFolders();
    for (const LinkSource source : {LinkSource::WebLink, LinkSource::PageLink})
        checkRestricted(decideLinkTarget(target, source, folders.program(), folders.exam()), target, source, bytes,
                        size);
    // The setup file's targets are the administrator's: they only must not
    // break the rules' reading.
    for (const LinkSource source : {LinkSource::Contact, LinkSource::Help, LinkSource::Favourite})
        decideLinkTarget(target, source, folders.program(), folders.exam());
    return 0;
}
