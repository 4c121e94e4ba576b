#pragma once

namespace db {
class Connection;
}

// Fills an empty exam database (current layout, already created) with a
// synthetic question bank of questionCount questions over realistic
// categories and chapters and every question type, with their answer rows,
// the Qe_Exam row, points, learning objectives, links and simulated-exam
// directives that add up and can always be met. The same seed gives the same
// bank. Runs in one transaction.
void generateExam(db::Connection& exam, int questionCount, unsigned seed);
