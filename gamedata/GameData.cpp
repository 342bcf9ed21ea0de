#include "GameData.h"
