#include "platform/pages/ExamPictures.h"

#include "platform/pages/ExamFile.h"
#include "platform/pages/FileLookup.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

namespace {

class ExamFolderPictures {
public:
    ExamFolderPictures(const QString& examFolder, const QString& baseFolder)
        : m_examFolder(examFolder), m_baseFolder(baseFolder.isEmpty() ? examFolder : baseFolder)
    {
    }

    QString find(const PictureReference& reference)
    {
        if (m_examFolder.isEmpty())
            return QString();
        const QString path = reference.relative ? QDir(m_baseFolder).filePath(reference.path) : reference.path;
        QString real = QFileInfo(path).canonicalFilePath();
        if (real.isEmpty() && reference.relative) {
            const QString found = findFileIgnoringCase(m_baseFolder, reference.path);
            if (!found.isEmpty())
                real = QFileInfo(found).canonicalFilePath();
        }
        const QString& folder = canonicalExamFolder();
        if (real.isEmpty() || folder.isEmpty() || !real.startsWith(folder + QLatin1Char('/')))
            return QString();
        // Inside the folder first: nothing outside it is opened.
        if (!exam_file::isReadable(real, exam_file::Kind::Picture))
            return QString();
        return real;
    }

private:
    const QString& canonicalExamFolder()
    {
        if (!m_examFolderResolved) {
            m_canonicalExamFolder = QFileInfo(m_examFolder).canonicalFilePath();
            if (m_canonicalExamFolder == QLatin1String("/"))
                m_canonicalExamFolder.clear(); // the whole file system is no exam's folder
            m_examFolderResolved = true;
        }
        return m_canonicalExamFolder;
    }

    QString m_examFolder;
    QString m_baseFolder;
    QString m_canonicalExamFolder;
    bool m_examFolderResolved = false;
};

} // namespace

PictureResolver examFolderPictures(const QString& examFolder, const QString& baseFolder)
{
    auto pictures = std::make_shared<ExamFolderPictures>(examFolder, baseFolder);
    return [pictures](const PictureReference& reference) { return pictures->find(reference); };
}
