#include "shell/LxDriverBlock.h"

LxDriverBlock g_Driver = {};
