#pragma once

#include <optional>

// The profile's buttons ("&Add", "&Edit", "&Delete", "&Save", "Cance&l") and
// the login box after each step of the user panel. nullopt leaves a control
// as it is (or as the window was designed: Add on, the login box off).
struct ProfileButtonStates {
    std::optional<bool> add, edit, remove, save, cancel, loginBox;
};

enum class ProfileStep { Load, Add, Edit, SaveDone, Cancel, DeleteDone };

// usersListed: the user list holds a user; loginShown: the login box holds a
// login (not blank).
ProfileButtonStates profileButtonsAfter(ProfileStep step, bool usersListed, bool loginShown);
