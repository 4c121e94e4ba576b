#include "exam/ChoiceOrder.h"

#include <algorithm>
#include <array>

namespace {

const std::array<ChoiceOrder, 5> kScreenOrders{{
    {{1, 2, 3, 4, 5, 6, 7}, false},
    {{2, 1, 3, 4, 7, 5, 6}, false},
    {{3, 1, 2, 4, 5, 7, 6}, false},
    {{4, 2, 3, 5, 1, 7, 6}, false},
    {{5, 3, 1, 7, 2, 6, 4}, true},
}};

bool sameChoice(const ExamBank::Choice& a, const ExamBank::Choice& b)
{
    return a.seq == b.seq && a.right == b.right && a.text == b.text;
}

} // namespace

const ChoiceOrder& screenChoiceOrder(int variant)
{
    return variant >= 0 && variant <= 3 ? kScreenOrders[size_t(variant)] : kScreenOrders[4];
}

std::vector<ExamBank::Choice> orderChoices(const std::vector<ExamBank::Choice>& choices, const ChoiceOrder& order)
{
    std::vector<ExamBank::Choice> listed;
    for (const int seq : order.sequence) {
        for (const ExamBank::Choice& choice : choices) {
            if (choice.seq != seq)
                continue;
            if (order.dropsDuplicates && std::any_of(listed.begin(), listed.end(), [&](const ExamBank::Choice& shown) {
                    return sameChoice(shown, choice);
                }))
                continue;
            listed.push_back(choice);
        }
    }
    return listed;
}
