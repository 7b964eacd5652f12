#include "browsepagefile.h"
