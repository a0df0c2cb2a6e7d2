// What the host saw of a bot's fault, in Russian words.
#pragma once

#include <string>
#include <string_view>

namespace velkaran {

// Detail, a fault or loading problem as the host's workers and loader describe it ("killed by
// SIGSEGV (Segmentation fault)", "no answer within 22000 ms", "missing export "GetTurn""), said in
// Russian ("завершён сигналом SIGSEGV (нарушение доступа к памяти)", "нет ответа за 22000 мс").
// What the bot itself said (an exception's text, a system call's name) stays as it was; a detail
// of an unknown form is returned unchanged.
std::string FaultDetailText(std::string_view Detail);

}  // namespace velkaran
