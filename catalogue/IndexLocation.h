// Where the index of a catalogue folder is kept: one file per folder (by its real path) in the
// user's cache folder, $XDG_CACHE_HOME/tarvik or else ~/.cache/tarvik, made private to the user.
#pragma once

#include <string>

class IndexLocation
{
  public:
    // The index file of the folder (given by its real path), in indexFolder when it is not
    // empty; empty, with the reason in `fault`, when there is no folder for it or it cannot be
    // made.
    static std::string For(const std::string &catalogue, const std::string &indexFolder,
                           std::string &fault);
    // $XDG_CACHE_HOME/tarvik (an absolute XDG_CACHE_HOME only), else ~/.cache/tarvik; empty when
    // neither can be said.
    static std::string CacheFolder();
};
