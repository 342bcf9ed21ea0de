#include "RecordBank.h"
