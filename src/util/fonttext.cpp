#include "fonttext.h"
