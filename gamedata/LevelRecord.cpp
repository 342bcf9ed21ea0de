#include "LevelRecord.h"
