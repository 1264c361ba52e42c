// The buttons of a message box and the one the user pressed: the build
// driver's host and the editor's prompts ask the user in the same terms.
#pragma once

namespace zendrel {

enum class Buttons { kOk, kRetryCancel, kYesNo };
enum class Answer { kOk, kRetry, kCancel, kYes, kNo };

}  // namespace zendrel
