// An INI-syntax profile file: sections in brackets, name=value lines, ';' comments.
#pragma once

#include "mwlib/MW_ConfigSource.h"
#include "mwlib/MW_FileName.h"
#include "mwlib/MW_ProfileKey.h"

#include <cstdint>
#include <cstdio>

// Sections and key names are found ignoring case; the first section of a name and the first
// matching line in it win. A line named "Enforce" followed by the key counts as the key, with
// the enforced flag set. Reads open the file themselves when it is not open, and close it again.
// A UTF-8 byte-order mark at the start of the file (editors on other systems write one) is not
// part of the first line.
class MW_IniFile : public MW_ConfigSource
{
  public:
    explicit MW_IniFile(const MW_String &fileName, int32_t *traceSwitch = nullptr,
                        std::FILE *traceStream = nullptr);
    ~MW_IniFile() override;

    // 0, or -4 when the file cannot be opened for reading or is not a regular file (OpenFault
    // says which).
    int32_t Open() override;
    void Close() override;
    // 1 when the file was modified since Open (or the last change seen), else 0.
    int32_t HasChanged() override;
    int32_t ReadBool(const MW_String &section, const MW_String &key, uint32_t minimum,
                     uint32_t maximum, bool *target, int32_t *enforced) override;
    int32_t ReadString(const MW_String &section, const MW_String &key, uint32_t minimum,
                       uint32_t maximum, MW_String *target, int32_t *enforced) override;
    int32_t ReadInt(const MW_String &section, const MW_String &key, uint32_t minimum,
                    uint32_t maximum, int32_t *target, int32_t *enforced) override;
    int32_t ReadLong(const MW_String &section, const MW_String &key, uint32_t minimum,
                     uint32_t maximum, int32_t *target, int32_t *enforced) override;
    int32_t ReadList(const MW_String &section, const MW_String &key, uint32_t type,
                     uint32_t minimum, uint32_t maximum, MW_Cache *target) override;

    // Finds the key's value. Without an iterator (or with -1 in it) the section is searched
    // first; after a find the iterator is 1 and the next call goes on from there; the end of
    // the section sets it to -1 and gives 0, or -2 when this pass found nothing.
    int32_t Lookup(const MW_String &section, const MW_String &key, int32_t *iterator,
                   MW_String &value, int32_t *enforced);
    bool IsOpen() const { return isOpen; }

  protected:
    // The file as a stream to read lines from, its modification time in timeStamp; null, with the
    // reason in openFault, when it cannot be read. Only a regular file is accepted, and the test
    // comes before anything that could wait: a pipe or a device named as a profile must not hold
    // the program up.
    virtual std::FILE *OpenStream();

    uint32_t timeStamp = 0; // taken at Open

  private:
    bool SeekSection(const MW_String &section);
    int32_t Scan(const MW_String &key, int32_t *iterator, MW_String &value, int32_t *enforced);
    template <typename Convert>
    int32_t ReadScalar(const void *target, const MW_String &section, const MW_String &key,
                       int32_t *enforced, Convert convert);
    int32_t ReadNumber(const MW_String &section, const MW_String &key, uint32_t minimum,
                       uint32_t maximum, int32_t *target, int32_t *enforced);
    int32_t ReadValues(const MW_String &section, const MW_String &key, uint32_t type,
                       uint32_t minimum, uint32_t maximum, MW_Cache &target);
    static int32_t ListValue(uint32_t type, const MW_String &text, uint32_t minimum,
                             uint32_t maximum, MW_ProfileListValue &entry);

    std::FILE *file = nullptr;
    long bodyStart = 0; // behind a byte-order mark
    bool isOpen = false;
    MW_FileName name;
};
