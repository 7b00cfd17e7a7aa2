#pragma once
// Classes: the umbrella of the class library's general classes.

#include "platform/core/collections.h"
#include "platform/core/components.h"
#include "platform/core/lists.h"
#include "platform/core/streams.h"
#include "platform/core/threads.h"
