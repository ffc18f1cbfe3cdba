#pragma once
#include "support/personal_names.h"

namespace platform {

// The names of the user and of the machine as the system tells them, as much as it does.
PersonalNames ReadPersonalNames();

} // namespace platform
