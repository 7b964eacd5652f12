#include "qfontconvert.h"
