// What a restore run does after an object fails: go on with the next object (passing over what
// lies below the failed one), ask the user, or end the run there. The window's options dialog and
// the command line's --on-error choose it; the run's record keeps it.
#pragma once

enum class OnError { Continue, Ask, End };
