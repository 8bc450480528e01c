#pragma once

// libjpeg's headers need stdio's declarations first.
#include <cstddef>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>
