#include "buttonpanel.h"
