// Generates the short wave sounds of the game (16-bit mono PCM, 22050 Hz) into a folder:
//   1001.wav a card laid into the trick     1002.wav the program closes
//   1003.wav the start dialog comes up      1006.wav a new hand is dealt
//   1007.wav the trick is cleared         1010.wav two balloons bump into each other
//   1011.wav the user's turn while the window is in the background
// The output is deterministic, so regenerating gives the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<double>;

// A small deterministic noise source (no dependence on the standard library's engines).
struct Noise {
    uint32_t state = 0x2545F491u;
    double Next()
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / static_cast<double>(1u << 23) - 1.0;
    }
};

Samples Silence(double seconds) { return Samples(static_cast<size_t>(seconds * kRate), 0.0); }

// Mixes src into dst starting at the given time.
void MixAt(Samples& dst, const Samples& src, double atSeconds, double gain = 1.0)
{
    const size_t start = static_cast<size_t>(atSeconds * kRate);
    if (dst.size() < start + src.size())
        dst.resize(start + src.size(), 0.0);
    for (size_t i = 0; i < src.size(); ++i)
        dst[start + i] += gain * src[i];
}

// A bell-like tone: fundamental plus two soft partials, fast attack, exponential decay.
Samples Bell(double freq, double seconds, double decay)
{
    Samples s(static_cast<size_t>(seconds * kRate));
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double attack = std::min(1.0, t / 0.006);
        const double env = attack * std::exp(-t * decay);
        s[i] = env * (0.70 * std::sin(2 * kPi * freq * t) + 0.20 * std::sin(2 * kPi * 2 * freq * t) +
                      0.08 * std::sin(2 * kPi * 3.01 * freq * t));
    }
    return s;
}

// Filtered noise burst: a card's soft slap on cloth.
Samples Slap(double seconds, double decay, double smoothing, Noise& noise)
{
    Samples s(static_cast<size_t>(seconds * kRate));
    double low = 0.0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        low += smoothing * (noise.Next() - low);
        s[i] = low * std::exp(-t * decay) * std::min(1.0, t / 0.002);
    }
    return s;
}

// A soft rising-then-falling noise sweep: cards pulled off the table.
Samples Swoosh(double seconds, Noise& noise)
{
    Samples s(static_cast<size_t>(seconds * kRate));
    double low = 0.0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(s.size());
        const double smoothing = 0.05 + 0.25 * x;
        low += smoothing * (noise.Next() - low);
        s[i] = low * std::sin(kPi * x) * 1.6;
    }
    return s;
}

// A rubbery "boing": a pitch falling from `from` to `to` Hz with a quick wobble, after a
// short soft pop of noise.
Samples Boing(double from, double to, double seconds, Noise& noise)
{
    Samples s(static_cast<size_t>(seconds * kRate));
    double phase = 0.0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double x = t / seconds;
        const double wobble = 1.0 + 0.06 * std::sin(2 * kPi * 28.0 * t) * (1.0 - x);
        const double freq = (to + (from - to) * std::exp(-t * 18.0)) * wobble;
        phase += 2 * kPi * freq / kRate;
        const double env = std::min(1.0, t / 0.003) * std::exp(-t * 9.0);
        s[i] = env * (0.8 * std::sin(phase) + 0.15 * std::sin(2 * phase));
    }
    MixAt(s, Slap(0.02, 200.0, 0.6, noise), 0.0, 0.5);
    return s;
}

void Normalise(Samples& s, double peak)
{
    double m = 0.0;
    for (double v : s)
        m = std::max(m, std::fabs(v));
    if (m > 0.0)
        for (double& v : s)
            v *= peak / m;
    // A short fade-out avoids a click at the end (every sound has its own attack).
    const size_t fade = std::min<size_t>(s.size() / 2, kRate / 200);
    for (size_t i = 0; i < fade; ++i) {
        const double g = static_cast<double>(i) / static_cast<double>(fade);
        s[s.size() - 1 - i] *= g;
    }
}

void Put16(std::ofstream& f, uint16_t v)
{
    const char b[2] = {static_cast<char>(v & 0xff), static_cast<char>(v >> 8)};
    f.write(b, 2);
}
void Put32(std::ofstream& f, uint32_t v)
{
    Put16(f, static_cast<uint16_t>(v & 0xffff));
    Put16(f, static_cast<uint16_t>(v >> 16));
}

bool WriteWave(const std::string& path, const Samples& s)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f)
        return false;
    const uint32_t dataBytes = static_cast<uint32_t>(s.size() * 2);
    f.write("RIFF", 4);
    Put32(f, 36 + dataBytes);
    f.write("WAVEfmt ", 8);
    Put32(f, 16);
    Put16(f, 1); // PCM
    Put16(f, 1); // mono
    Put32(f, kRate);
    Put32(f, kRate * 2);
    Put16(f, 2);
    Put16(f, 16);
    f.write("data", 4);
    Put32(f, dataBytes);
    for (double v : s) {
        const double c = std::clamp(v, -1.0, 1.0);
        Put16(f, static_cast<uint16_t>(static_cast<int16_t>(std::lround(c * 32767.0))));
    }
    return static_cast<bool>(f);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string dir = argc > 1 ? argv[1] : ".";
    Noise noise;
    struct Out {
        const char* name;
        Samples samples;
    };
    std::vector<Out> outs;

    { // 1001: a card laid into the trick: a short soft slap with a low body.
        Samples s = Slap(0.09, 45.0, 0.35, noise);
        MixAt(s, Bell(180.0, 0.09, 60.0), 0.0, 0.35);
        Normalise(s, 0.55);
        outs.push_back({"1001.wav", s});
    }
    { // 1002: closing: two falling bell notes (G5, C5).
        Samples s = Silence(0.75);
        MixAt(s, Bell(783.99, 0.45, 7.0), 0.0);
        MixAt(s, Bell(523.25, 0.6, 5.5), 0.18);
        Normalise(s, 0.5);
        outs.push_back({"1002.wav", s});
    }
    { // 1003: welcome: a rising C major arpeggio.
        Samples s = Silence(0.7);
        const double notes[] = {523.25, 659.25, 783.99, 1046.5};
        for (int i = 0; i < 4; ++i)
            MixAt(s, Bell(notes[i], 0.4, 8.0), 0.09 * i, i == 3 ? 0.8 : 1.0);
        Normalise(s, 0.5);
        outs.push_back({"1003.wav", s});
    }
    { // 1006: a new hand: a quick riffle of card slaps.
        Samples s = Silence(0.4);
        for (int i = 0; i < 9; ++i)
            MixAt(s, Slap(0.05, 70.0, 0.5, noise), 0.03 * i, 0.6 + 0.05 * (i % 3));
        Normalise(s, 0.45);
        outs.push_back({"1006.wav", s});
    }
    { // 1007: the trick is cleared: a soft swoosh.
        Samples s = Swoosh(0.22, noise);
        Normalise(s, 0.4);
        outs.push_back({"1007.wav", s});
    }
    { // 1010: a balloon collision: a short springy boing.
        Samples s = Boing(620.0, 260.0, 0.28, noise);
        Normalise(s, 0.5);
        outs.push_back({"1010.wav", s});
    }
    { // 1011: your turn, while the window is in the background: two soft rising bells.
        Samples s = Silence(0.5);
        MixAt(s, Bell(783.99, 0.35, 9.0), 0.0, 0.8);
        MixAt(s, Bell(1046.5, 0.4, 8.0), 0.12);
        Normalise(s, 0.4);
        outs.push_back({"1011.wav", s});
    }

    for (const Out& o : outs) {
        const std::string path = dir + "/" + o.name;
        if (!WriteWave(path, o.samples)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s: %zu samples\n", path.c_str(), o.samples.size());
    }
    return 0;
}
