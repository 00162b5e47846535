#include "app/CanvasView.h"
