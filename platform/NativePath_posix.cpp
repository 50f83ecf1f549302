#include "platform/NativePath.h"

// "/" alone separates folders; "\" may be part of a file name.
NativePath::Rules NativePath::system() { return Posix; }
