#include "app/QtDialogs.h"
