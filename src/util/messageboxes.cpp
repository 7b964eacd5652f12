#include "messageboxes.h"
