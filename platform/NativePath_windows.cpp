#include "platform/NativePath.h"

// Both "\" and "/" separate folders; paths are written with "\".
NativePath::Rules NativePath::system() { return Windows; }
