#include "mainwindow/MenuRows.h"
#include "foundation/LoginRules.h"

#include "mainwindow/WebLinks.h"

#include <utility>

MenuCommand commandForCaption(const QString& caption)
{
    static const std::pair<const char*, MenuCommand> table[] = {
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
    for (const auto& [text, command] : table)
        if (caption == QLatin1String(text))
            return command;
    return MenuCommand::None;
}

bool menuRightsEnabled(const QString& loginId, bool multiUser)
{
    if (isAdministratorLogin(loginId))
        return true;
    return !multiUser;
}

std::vector<MenuRow> pullDownRows(int pullDown, const MenuInputs& inputs, const std::vector<WebLinkRow>& links)
{
    auto command = [](const char* caption, bool enabled = true) {
        return MenuRow{QString::fromLatin1(caption), QString(), enabled, false};
    };
    std::vector<MenuRow> rows;
    switch (pullDown) {
    case 0:
        rows = {command("Change Exam"), command("Check for Update"), command("Exit")};
        break;
    case 1:
        rows = {command("Select Font"),
                command("Admin Preferences", inputs.showAdminPref != 0 && inputs.adminPreferencesEnabled)};
        break;
    case 2:
        rows = {command("Historical Analysis"), command("Clear History", inputs.clearHistoryEnabled)};
        if (inputs.hasLearningObjectives)
            rows.push_back(command("LOS Score Card"));
        break;
    case 3:
        rows = {command("Notes")};
        if (inputs.hasWebLinks)
            for (const WebLinkRow& link : links)
                rows.push_back({link.caption, QString::number(link.serialNumber), true, link.hasSubList});
        break;
    case 4:
        rows = {command("Contact us"), command("About")};
        if (inputs.hasComment)
            rows.push_back(command("Credits"));
        rows.push_back(command("Help"));
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
