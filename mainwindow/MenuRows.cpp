#include "mainwindow/MenuRows.h"
#include "foundation/LoginRules.h"

#include "mainwindow/WebLinks.h"

#include <utility>

namespace {

const std::pair<const char*, MenuCommand> kCommandCaptions[] = {
        {"Change Exam", MenuCommand::ChangeExam},
        {"Print Setup", MenuCommand::PrintSetup},
        {"Exit", MenuCommand::Exit},
        {"Select Font", MenuCommand::SelectFont},
        {"Admin Preferences", MenuCommand::AdminPreferences},
        {"Exam Details", MenuCommand::ExamDetails},
        {"Historical Analysis", MenuCommand::HistoricalAnalysis},
        {"Clear History", MenuCommand::ClearHistory},
        {"Notes", MenuCommand::Notes},
        {"Contact us", MenuCommand::ContactUs},
        {"Credits", MenuCommand::Credits},
        {"About", MenuCommand::About},
        {"Check for Update", MenuCommand::CheckForUpdate},
        {"Help", MenuCommand::Help},
        {"Web Links", MenuCommand::WebLinks},
        {"LOS Score Card", MenuCommand::LosScoreCard},
};

} // namespace

MenuCommand commandForCaption(const QString& caption)
{
    for (const auto& [text, command] : kCommandCaptions)
        if (caption == QLatin1String(text))
            return command;
    return MenuCommand::None;
}

QString menuCaption(MenuCommand command)
{
    for (const auto& [text, known] : kCommandCaptions)
        if (known == command)
            return QString::fromLatin1(text);
    return QString();
}

bool menuRightsEnabled(const QString& loginId, bool multiUser)
{
    if (isAdministratorLogin(loginId))
        return true;
    return !multiUser;
}

std::vector<MenuRow> pullDownRows(int pullDown, const MenuInputs& inputs, const std::vector<WebLinkRow>& links)
{
    auto command = [](MenuCommand what, bool enabled = true) {
        return MenuRow{menuCaption(what), QString(), enabled, false, what};
    };
    std::vector<MenuRow> rows;
    switch (pullDown) {
    case 0:
        rows = {command(MenuCommand::ChangeExam), command(MenuCommand::CheckForUpdate), command(MenuCommand::Exit)};
        break;
    case 1:
        rows = {command(MenuCommand::SelectFont),
                command(MenuCommand::AdminPreferences, inputs.showAdminPref != 0 && inputs.adminPreferencesEnabled)};
        break;
    case 2:
        rows = {command(MenuCommand::HistoricalAnalysis),
                command(MenuCommand::ClearHistory, inputs.clearHistoryEnabled)};
        if (inputs.hasLearningObjectives)
            rows.push_back(command(MenuCommand::LosScoreCard));
        break;
    case 3:
        rows = {command(MenuCommand::Notes)};
        if (inputs.hasWebLinks)
            for (const WebLinkRow& link : links)
                rows.push_back({link.caption, QString::number(link.serialNumber), true, link.hasSubList});
        break;
    case 4:
        rows = {command(MenuCommand::ContactUs), command(MenuCommand::About)};
        if (inputs.hasComment)
            rows.push_back(command(MenuCommand::Credits));
        rows.push_back(command(MenuCommand::Help));
        break;
    default:
        break;
    }
    return rows;
}

std::vector<StripCopy> menuStripCopies(int height)
{
    std::vector<StripCopy> copies = {{kMenuTopStripY, 0}};
    int y = kMenuStripHeight;
    while (y < height) {
        copies.push_back({kMenuMiddleStripY, y});
        y += kMenuStripHeight;
    }
    copies.push_back({kMenuBottomStripY, y - kMenuStripHeight});
    return copies;
}
