#include "EnemyGraphics.h"
