#include "app/CanvasInteraction.h"
