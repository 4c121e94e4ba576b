#pragma once

#include "foundation/ExamBank.h"

#include <vector>

// An order in which a multiple-choice question's choices are listed: the
// sequence numbers in the order shown; a choice whose number is not in the
// list is never shown. With dropsDuplicates, choices equal in every column
// (number, text, right flag) are listed once.
struct ChoiceOrder {
    std::vector<int> sequence;
    bool dropsDuplicates = false;
};

// The screen's order for a choice-order variant: 0 to 3 as drawn by the
// question-set builders, any other value the fifth order (which lists equal
// choices once).
const ChoiceOrder& screenChoiceOrder(int variant);

// The choices in the order: for each sequence number of the order, the
// choices of that number in the order given (ExamBank::choices gives them by
// number, then storage order).
std::vector<ExamBank::Choice> orderChoices(const std::vector<ExamBank::Choice>& choices, const ChoiceOrder& order);
