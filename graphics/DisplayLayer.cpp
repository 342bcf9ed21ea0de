#include "DisplayLayer.h"
