#pragma once

// Start with Windows: the value "yarrowkit" under the user's Run key, holding the full path of
// the running executable. Failures are silent; the next query shows the true state.
namespace runatstartup {

// True when the value can be read into 1000 bytes; its type and content do not matter.
bool isRegistered();
void registerExecutable();
// Deletes only the value "yarrowkit"; the key's other values stay.
void unregister();

}  // namespace runatstartup
