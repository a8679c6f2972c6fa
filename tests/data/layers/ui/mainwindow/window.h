#pragma once
#include "run/crossing.h"
