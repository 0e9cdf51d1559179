// Data paths: the module-level rule that puts bare asset names under the data
// scheme. The host then maps schemes to directories (PathToFilePath).
#pragma once

#include "runtime/kzstring.h"

String kz_data_FixDataPath(String path);
// Each of `paths` through kz_data_FixDataPath.
Array<String> kz_data_FixDataPaths(Array<String> paths);
