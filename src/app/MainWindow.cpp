#include "app/MainWindow.h"
