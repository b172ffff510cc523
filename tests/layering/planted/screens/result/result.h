// Never compiled: an allowed include, so only the two faults planted beside it are reported.
#pragma once
#include "state/app_context.h"
