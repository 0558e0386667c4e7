#pragma once

// Adds the import commands to the host's command stack, except those the
// host provides itself.
void registerCommands();
// Removes the command group, unless the host provides both commands.
void unregisterCommands();
