#include "windowfakes.h"
