#include "admin/ProfileButtons.h"

ProfileButtonStates profileButtonsAfter(ProfileStep step, bool usersListed, bool loginShown)
{
    const std::optional<bool> onWhenUsers = usersListed ? std::optional<bool>(true) : std::nullopt;
    switch (step) {
    case ProfileStep::Load:
        // An empty list disables every profile box, the login box with them.
        return {std::nullopt, usersListed, usersListed,
                false,        false,       usersListed ? std::nullopt : std::optional<bool>(false)};
    case ProfileStep::Add:
        return {false, false, false, true, true, true};
    case ProfileStep::Edit:
        return {false, false, false, true, true, std::nullopt};
    case ProfileStep::SaveDone:
        return {onWhenUsers, onWhenUsers, onWhenUsers, false, false, false};
    case ProfileStep::Cancel:
        return {true, onWhenUsers, onWhenUsers, false, false, loginShown ? std::optional<bool>(false) : std::nullopt};
    case ProfileStep::DeleteDone:
        return {true,
                usersListed ? std::nullopt : std::optional<bool>(false),
                usersListed ? std::nullopt : std::optional<bool>(false),
                std::nullopt,
                std::nullopt,
                std::nullopt};
    }
    return {};
}
