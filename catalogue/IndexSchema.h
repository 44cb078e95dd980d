// The tables of a catalogue's index, and the check that a file is one: made by this program, at
// this version of the tables, for this catalogue folder. A file that fails it is built anew.
//
// What is kept grows with what changes between dumps, not with entries times dumps:
//   dumps     one row per dump file read (or left out, with the reason), by its place in time
//   names     every entry any indexed dump holds, once: its canonical name, parent, DN, own name
//   versions  each run of dumps that hold an entry with the same text: the first and last dump
//             (no last: up to the newest), the text's fingerprint, the entry's identity
//             (entryUUID or objectGUID), its object classes, and where its text is kept; found
//             by entry, by the dumps where a version begins or ends, and by identity
//   blocks    the versions' texts, compressed a block at a time
//   newest    the entries of the newest dump, by a fingerprint of their dn line as written, so
//             that the next dump is compared without taking every name apart again
#pragma once

#include <string>

class SqliteDatabase;

class IndexSchema
{
  public:
    static constexpr int kVersion = 2;

    // Sets the connection up; makes the tables in a new file, or checks an existing one. False
    // when the file is not this catalogue's index (of another version, folder or program).
    static bool Prepare(SqliteDatabase &db, const std::string &catalogue);
    // Empties every table but the file's identity (for building the index anew).
    static void Clear(SqliteDatabase &db);
};
