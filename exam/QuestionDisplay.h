#pragma once

#include <QString>

// What the exam window shows besides the built question pages.

// The page shown in place of a question that cannot be shown (no head row, a
// database or file error): the reason, in the question font. It carries no
// script, so it reports no answer.
QString questionErrorPage(const QString& reason, const QString& fontName, int fontSize);

// The scenario page of a scenario question: below the folder "Scenario"
// beside the exam database, every part of the path matched in any case.
// When no such file exists, the path as stored below that folder ("." and
// ".." parts left out), so that the view shows what it shows for a missing
// page.
QString scenarioFilePath(const QString& examDbPath, const QString& storedPath);

// False when the file's real path (symbolic links resolved) lies outside the
// folder of the exam database: such a scenario page is never shown.
bool scenarioStaysInExamFolder(const QString& examDbPath, const QString& scenarioPath);

// The folder of the exam database, which holds "images" and "Scenario".
QString examFolder(const QString& examDbPath);
