#pragma once

namespace kovaldi {

// The four kinds of message the program shows; each has its own icon and buttons.
enum class MessageKind {
    Warning,     // refused input: warning icon, OK
    Question,    // question icon, Yes and No, Yes the default
    Information, // finished run: information icon, OK
    Error,       // every folder failed: error icon, OK
};

} // namespace kovaldi
