// What a restore run does when the restore of an object fails. Any value other than these three
// behaves as OnErrorContinue.
#pragma once

enum OnErrorMode : int {
    OnErrorContinue = 0, // go on with the next object
    OnErrorAskUser = 1,  // show the results so far and let the user continue or abort
    OnErrorEnd = 2,      // show the results so far and stop
};
