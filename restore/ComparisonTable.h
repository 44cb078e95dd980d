// Shows a comparison of an object's version with its live entry in a table: one row per
// attribute with the backup's values, the live values and what differs; an attribute with
// several values on a side gets one row per value, saying where the value is (only in backup,
// only live, in both). A secret attribute shows its size, never its values. Unchanged
// attributes are left out unless asked for.
#pragma once

#include <vector>

#include "model/AttributeComparison.h"

class TableBox;

class ComparisonTable
{
  public:
    static void SetColumns(TableBox &table);
    static void Fill(TableBox &table, const std::vector<ComparedAttribute> &compared,
                     bool showSame);

  private:
    static void AddValueRows(TableBox &table, const ComparedAttribute &attribute);
};
