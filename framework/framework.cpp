// The framework's library anchor; the classes live in their own files.
#include "framework/platform.h"
