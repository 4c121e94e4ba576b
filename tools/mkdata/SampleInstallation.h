#pragma once

#include <QString>

// The sample installation: a complete program folder with settings, skin,
// pictures, pages, the system database, the reference database and one
// sample exam. Its data files live in the source tree's sample/ folder.
namespace sample {

// Folder and file of the sample exam below the program folder's Data folder.
inline constexpr const char* kExamFolder = "LinuxAdmin";
inline constexpr const char* kExamFile = "LinuxAdmin.qzr";
inline constexpr const char* kExamCode = "LSA101";
inline constexpr const char* kExamDesc = "Linux System Administration Fundamentals";

// The two accounts of the system database.
inline constexpr const char* kAdminLogin = "Admin";
inline constexpr const char* kAdminPassword = "ADMIN";
inline constexpr const char* kUserLogin = "student";
inline constexpr const char* kUserPassword = "student";

// Where the sample's data files are read from: $ZIDUVER_SAMPLE_DIR when set,
// else the source tree's sample/ folder.
QString sourceFolder();

} // namespace sample

// Copies the exam window's static pages and scripts (main.html,
// interactive.js, new.js) into the folder home (created when missing),
// replacing older copies. They hold no user data, so they may be refreshed at
// any time. Throws std::runtime_error on failure.
void writeStaticPageFiles(const QString& home);

// Writes the sample installation into the folder home (created when
// missing). Files already there are replaced; the caller decides whether that
// is wanted. Throws std::runtime_error (or db::DbError) on failure.
void writeSampleInstallation(const QString& home);
