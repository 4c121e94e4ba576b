#pragma once

#include <QString>
#include <exception>

// The texts the administration window shows.
namespace adminText {
inline const char* const InvalidLogin = "Invalid Login Name.";
inline const char* const InvalidFirstName = "Invalid First Name.";
inline const char* const EmptyPassword = "Password should not be empty.";
inline const char* const PasswordsDiffer = "Passwords does not match. Confirm it.";
inline const char* const LoginExists = "Login ID already exists";
inline const char* const DefaultUserUndeletable = "Default user cannot be deleted!";
inline const char* const AdministratorUndeletable = "Administrative user cannot be deleted";
inline const char* const UserCopyFailed = "User updation in selected Exam tables failed.";

inline const char* const AlreadyAttached = "Database already attached";
inline const char* const InvalidExam = "Invalid database. Cannot attach";
inline const char* const NoExamSelected = "No exam selected. Cannot Proceed!";
inline const char* const NoUserGranted = "No user has been given permission to write  exam";
inline const char* const CurrentExam = "Cannot delete current exam";
inline const char* const ChangeExamNow = "Finished attaching the exam. Change Exam now?";
inline const char* const UpdateRightQuestion = "Do you want to update user permissions for the selected exam?";
inline const char* const IncompleteExam = "Either Exam Details are incomplete Or Corrupted/Duplicated..";

inline const char* const PasswordMismatch = "Invalid Password. try again";
inline const char* const PasswordEmpty = "Empty Password not allowed";
inline const char* const ToSingleUser = "Do you want to change to Single User System";
inline const char* const ToMultiUser = "Do you want to change to Multi-User System";
inline const char* const SingleUserFailed = "Change to Single user failed!\r\nNo default user selected";
inline const char* const SelectRootDatabase = "Please select Ziduver.QZR";
inline const char* const InvalidRootDatabase = "Invalid database format";

inline const char* const UsersPurged = "User tables updated in attached exams";
} // namespace adminText

// The text of an error for the log: a database error's own message, else
// what() of the exception.
QString describeError(const std::exception& error);

// A command of the administration window (by its procedure name) that
// failed, as the window shows it: for a database error what could not be
// done, the system database, why and what to do in the program's words; for
// another error its own text.
QString adminFailureText(const char* procedure, const std::exception& error);
