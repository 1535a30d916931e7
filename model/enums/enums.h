#pragma once
// Every enumeration of the data model with its singleton holder.
#include "behaviour_enums.h"
#include "client_enums.h"
#include "directory_enums.h"
#include "framework/core/enums/yes_no.h"
#include "material_type.h"
