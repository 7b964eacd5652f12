#include "datetimetext.h"
