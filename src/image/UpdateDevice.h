// SPDX-License-Identifier: MIT
#pragma once

struct AppState;

// Step 5 "Update Device UDP" up to the written images, for the active configuration: the payload check
// (on failure text 30 in an error box), Build_Images, then Save_Images into the configuration's bin
// folder (created when missing). A file that cannot be read, parsed or written stops it with the
// general error box naming the file. Returns true only when both images were written, that is when
// the update dialog may open; it never opens over images that were not written.
bool Update_Device(const AppState& state);
