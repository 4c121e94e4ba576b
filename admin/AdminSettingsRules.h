#pragma once

#include "foundation/SystemDatabase.h"

#include <QString>
#include <optional>

// The rules of the administrative settings: the administrator password, the
// single- or multi-user mode and the check of a chosen root database.

// Why a new administrator password is refused ("" when it is accepted): the
// two boxes must agree ignoring case, and the password must not be blank.
QString adminPasswordRefusal(const QString& newPassword, const QString& confirmation);
// The password as it is stored and kept for the session: trimmed, upper-cased.
QString storedAdminPassword(const QString& newPassword);

enum class ModeChoice { None, Single, Multi };

// What closing the window asks about the user mode: the Yes/No question and
// the mode a Yes stores; no question when nothing changes. noRow: the system
// database has no registration row, and the window then shows multi-user.
struct ModeChange {
    QString question;
    bool toMulti = false;
    bool noRow = false;
};
ModeChange userModeChange(const std::optional<bool>& storedMultiUser, ModeChoice chosen);
// Stores the mode after a Yes; the refusal text ("" when stored). A single-
// user installation needs a default user.
QString applyUserMode(SystemDatabase& system, bool toMulti);

// Why a file chosen as the root (system) database is refused ("" when it is
// accepted): it must be named Ziduver.QZR (any case), be a database, and
// hold no table but those of a system database (names in any case; SQLite's
// own tables do not count).
QString rootDatabaseRefusal(const QString& path);
