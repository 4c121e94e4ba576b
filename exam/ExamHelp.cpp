#include "exam/ExamHelp.h"

#include "foundation/ProgramFolder.h"
#include "foundation/Settings.h"
#include "platform/pages/FileLookup.h"

#include <QFile>
#include <QFileInfo>

QString examHelpFile()
{
    QString name;
    try {
        name = ReadSetting(QStringLiteral("SetupInfo/GeneralSettings/Help")).trimmed();
    } catch (const SettingError&) {
        return QString();
    }
    if (name.isEmpty())
        return QString();
    // The folder may have come from a file system that ignores case.
    const QString found = findFileIgnoringCase(programFolder(), name);
    return found.isEmpty() ? programFile(name) : found;
}

QString examHelpPage()
{
    const QString path = examHelpFile();
    if (!path.isEmpty() && QFileInfo(path).isFile()) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            return QString::fromUtf8(file.readAll());
    }
    return builtInHelpPage();
}

QString builtInHelpPage()
{
    return QStringLiteral("<html><body>"
                          "<h2>Taking an exam</h2>"
                          "<p><b>Next</b> and <b>Previous</b> move between the questions; your answer is recorded "
                          "each time you move. <b>Enter</b> moves on as Next does.</p>"
                          "<p><b>Mark Current Question</b> puts the question on the list that <b>Marked Questions</b> "
                          "opens; double-click a row to go back to it, or press <b>Escape</b> to close the list.</p>"
                          "<p><b>Take a break</b> stops the clock and hides the question until you untick it.</p>"
                          "<p><b>Review</b> ends the graded part of the exam: from then on answers can no longer be "
                          "changed, <b>Show Answer</b> shows the right ones and you can look at every question you "
                          "reached.</p>"
                          "<p><b>End Exam</b> records your progress and, for a simulated exam or a pretest, shows "
                          "your result, counted over all the questions of the exam.</p>"
                          "<p>In a simulated exam the clock counts down; when it reaches 00:00 the exam goes into "
                          "review by itself.</p>"
                          "</body></html>");
}
