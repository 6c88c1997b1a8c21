#include "app/Tamsavik.h"
