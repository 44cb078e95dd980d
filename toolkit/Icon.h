// The program's icon from an icon resource.
#pragma once

#include <QIcon>
#include <string>

#include "toolkit/ResId.h"

class Icon
{
  public:
    Icon() = default;
    explicit Icon(ResId id); // empty when the id is not installed

    bool IsEmpty() const { return icon_.isNull(); }
    const QIcon &QtIcon() const { return icon_; }

  private:
    void AddThemeSizes(const std::string &name);

    QIcon icon_;
};
