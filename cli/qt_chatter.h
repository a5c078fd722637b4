#pragma once
// Qt writes its own notes to stderr (the platform plugin's and QStandardPaths' complaints
// about the environment, such as "XDG_RUNTIME_DIR not set"). They mean nothing to a user of
// the batch tool and would break its one way of speaking, so they are dropped; the tool's own
// words never go through Qt's logging. Fatal messages still abort with their text.
void SilenceQtChatter();
