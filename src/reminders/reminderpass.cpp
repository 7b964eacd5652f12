#include "reminderpass.h"
