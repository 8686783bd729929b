#pragma once
// The speech service: this very program, started again by the speaker with a hidden first
// argument, talking libspeechd in a process of its own. libspeechd blocks for ever on a daemon
// that takes a connection and never answers, and calls exit() on one that answers garbage; here
// that ends only the service, which the speaker kills, reports and starts again.
//
// One executable rather than a helper installed beside the game: nothing more to install, find or
// keep in step, and a copied build folder still speaks.
#include <cstddef>
#include <string>
#include <vector>

namespace kravelon {

// This program started again as the service.
std::vector<std::string> SpeechServiceCommand();
// Whether this run is the service: the hidden first argument, with the speaker's channel as fd 3.
// The program's main asks before anything else.
bool IsSpeechService(int argc, char** argv);
// Connects to speech-dispatcher, then does what the channel brings until it closes or the daemon
// goes away; the process's exit status.
int RunSpeechService();

// The channel between the speaker and the service: a pair of sequenced-packet sockets, one
// message a datagram, its first byte the kind and the rest its text.
namespace service {
inline constexpr int ChannelFd = 3;
// Set in the service's environment: a service never starts another.
inline constexpr const char* MarkVariable = "KRAVELON_SPEECH_SERVICE";
inline constexpr std::size_t MaxMessage = 65536;
// The speaker's jobs; each is answered with Done or Lost.
inline constexpr char Line = 'L';      // a text at "message" priority, never cut
inline constexpr char Focus = 'F';     // cancel the last focus text, then speak this one
inline constexpr char Cancel = 'C';    // cancel both
inline constexpr char Language = 'G';  // the voice's language on both connections
// The service's answers. First Ready or NotReached (then it ends); Lost may also come unasked.
inline constexpr char Ready = 'R';
inline constexpr char NotReached = 'N';  // + libspeechd's reason
inline constexpr char Done = 'K';
inline constexpr char Lost = 'X';  // + what happened; the service then ends
}  // namespace service

}  // namespace kravelon
