// "User Details": asks for the name and password of the user the program is to act as. Both
// fields start empty every time; the password is masked and kept nowhere but in its field.
#pragma once

#include <string>

#include "server/SecretText.h"
#include "toolkit/CancelButton.h"
#include "toolkit/DialogNote.h"
#include "toolkit/Edit.h"
#include "toolkit/FixedIcon.h"
#include "toolkit/FixedText.h"
#include "toolkit/GroupBox.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/OKButton.h"

class UserDetailsDialog : public ModalDialog
{
  public:
    // Centred on the screen; parent may be null (start-up has no window yet).
    explicit UserDetailsDialog(Window *parent);
    ~UserDetailsDialog() override;

    // The texts exactly as typed. The password comes in memory that is wiped when it goes.
    std::string GetName() const;
    SecretText GetPassword() const;
    // Why the server did not log in the user it was configured for, or the name and password
    // typed last: shown below the fields (nothing when empty), the dialog centred again.
    void SetReason(const std::string &reason);
    std::string GetReason() const { return reason_.GetText(); }

  private:
    FixedText nameLabel_;
    FixedText passwordLabel_;
    Edit name_;
    Edit password_;
    GroupBox frame_;
    FixedIcon icon_;
    OKButton ok_;
    CancelButton cancel_;
    DialogNote reason_;
};
