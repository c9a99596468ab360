#pragma once

namespace skyfare {

// Screen lockers on this platform ask for the account password, so there is no saver password
// to change: says so in a message box owned by a plain window.
void changeSaverPassword();

}  // namespace skyfare
