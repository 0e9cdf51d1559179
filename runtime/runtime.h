// Everything the runtime offers the layers above it.
#pragma once

#include "runtime/array.h"
#include "runtime/containers.h"
#include "runtime/errors.h"
#include "runtime/gc.h"
#include "runtime/kzmath.h"
#include "runtime/kzstring.h"
#include "runtime/object.h"
#include "runtime/random.h"
