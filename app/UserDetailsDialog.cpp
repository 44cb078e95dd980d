// The User Details dialog of the login.
#include "app/UserDetailsDialog.h"

#include "res/ResourceIds.h"
#include "toolkit/Placement.h"

UserDetailsDialog::UserDetailsDialog(Window *parent)
    : ModalDialog(parent, ResId(kDialogUserDetails)),
      nameLabel_(this, ResId(kUserDetailsNameLabel)),
      passwordLabel_(this, ResId(kUserDetailsPasswordLabel)), name_(this, ResId(kUserDetailsName)),
      password_(this, ResId(kUserDetailsPassword)), frame_(this, ResId(kUserDetailsFrame)),
      icon_(this, ResId(kUserDetailsIcon)), ok_(this, ResId(kOKButton)),
      cancel_(this, ResId(kCancelButton)), reason_(this)
{
    FreeResource();
    CenterOnScreen(*this);
}

// Setting the text drops what was typed together with the field's undo history, so the password
// does not outlive the dialog there.
UserDetailsDialog::~UserDetailsDialog()
{
    password_.SetText(std::string());
}

std::string UserDetailsDialog::GetName() const
{
    return name_.GetText();
}

SecretText UserDetailsDialog::GetPassword() const
{
    std::string text = password_.GetText();
    return SecretText::Taking(text);
}

void UserDetailsDialog::SetReason(const std::string &reason)
{
    reason_.SetText(reason);
    CenterOnScreen(*this);
}
