#include "CKorvaneDoc.h"
