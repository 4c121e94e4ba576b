#include "foundation/ProgramFolder.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    setProgramFolder(resolveProgramFolder(app.arguments(), qEnvironmentVariable("ZIDUVER_HOME"),
                                          QCoreApplication::applicationDirPath()));
    QLabel label(QStringLiteral("Ziduver is being set up."));
    label.show();
    return app.exec();
}
