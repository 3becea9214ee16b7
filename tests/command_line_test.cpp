// Runs the built velmora in a scratch folder and checks what a user sees
// and what is left on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "tests/tap_reader.h"
#include "tests/velmora_process.h"

namespace fs = std::filesystem;

namespace {

const std::string USAGE =
    "VELMORA\n"
    "=======\n\n"
    "Este programa convierte un archivo SCR (snapshots de pantalla de Spectrum)\n"
    "a un archivo TAP (formato de cinta de Spectrum). El TAP contiene un pequeno\n"
    "cargador en BASIC que carga la pantalla y espera a que se pulse una tecla.\n\n"
    "La sintaxis de VELMORA es:\n\n"
    "VELMORA origen.scr [destino.tap]\n\n\n"
    "(c) 2026 el equipo de VELMORA\n"
    "Avisos de errores y sugerencias: en el repositorio del proyecto VELMORA.\n";
const std::string SUCCESS = "Conversion exitosa.";
const std::string FAILURE = "Error en la conversion.";
const std::string NO_SOURCE = "ERROR: El archivo de origen no existe.\n";
const std::string UNREADABLE_SOURCE = "ERROR: No se pudo leer el archivo de origen.\n";
const std::string NO_DESTINATION = "ERROR: El archivo de destino no existe.\n";
const std::string UNWRITABLE_DESTINATION = "ERROR: No se pudo escribir el archivo de destino.\n";
const std::string NAME_TOO_LONG = "ERROR: El nombre del archivo de destino es demasiado largo.\n";
#ifdef _WIN32
// Windows refuses to open a folder at all, so it never gets to reading one.
const std::string FOLDER_AS_SOURCE = NO_SOURCE;
#else
const std::string FOLDER_AS_SOURCE = UNREADABLE_SOURCE;
#endif

Bytes random_bytes(std::size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  Bytes bytes(size);
  std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<unsigned char>(generator()); });
  return bytes;
}

Bytes expected_screen(const Bytes& source) {
  return expected_screen_of(source.data(), source.size());
}

bool velmora_started_without_vector_sees_a_name() {
#if defined(__linux__) || defined(_WIN32)
  return true;
#else
  return false;
#endif
}

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           (std::string("velmora-") + test->name() + "-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  RunOutcome velmora(const std::vector<std::string>& arguments, RunSettings settings = {}) {
    settings.working_directory = dir_.string();
    RunOutcome outcome = run_program(VELMORA_PATH, arguments, settings);
    EXPECT_TRUE(outcome.exited) << "velmora did not exit normally";
    EXPECT_EQ(outcome.standard_error, "") << "nothing may go to standard error";
    return outcome;
  }

  void write_file(const std::string& name, const Bytes& bytes) {
    fs::create_directories((dir_ / name).parent_path());
    std::ofstream out(dir_ / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good());
  }

  Bytes read_file(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // Every file and folder below the scratch folder, sorted, '/'-separated.
  std::vector<std::string> entries() const {
#ifdef _WIN32
    // Some test names run past MAX_PATH; listing them needs the long form.
    const fs::path top = R"(\\?\)" + dir_.string();
#else
    const fs::path& top = dir_;
#endif
    const std::size_t prefix = top.generic_string().size() + 1;
    std::vector<std::string> names;
    std::transform(fs::recursive_directory_iterator(top), fs::recursive_directory_iterator(),
                   std::back_inserter(names),
                   [&](const fs::directory_entry& entry) { return entry.path().generic_string().substr(prefix); });
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

using Names = std::vector<std::string>;

TEST_F(CommandLine, UsageScreenForNoArgumentsOrTooMany) {
  struct Case {
    std::vector<std::string> arguments;
    bool empty_argument_vector;
    std::string output;
    int status;
  };
  // Linux hands a program started with no argument vector an empty name,
  // and Windows its own path, so there the run looks like one with none.
  const int status_without_vector = velmora_started_without_vector_sees_a_name() ? 0 : 1;
  const Case cases[] = {
      {{}, false, USAGE, 0},
      {{"pic.scr", "a.tap", "b.tap"}, false, USAGE + FAILURE, 1},
      {{"pic.scr", "a.tap", "b.tap", "c.tap"}, false, USAGE + FAILURE, 1},
      {{}, true, USAGE, status_without_vector},
  };
  write_file("pic.scr", random_bytes(6912, 1));
  for (const Case& c : cases) {
    RunSettings settings;
    settings.empty_argument_vector = c.empty_argument_vector;
    const RunOutcome outcome = velmora(c.arguments, settings);
    EXPECT_EQ(outcome.standard_output, c.output);
    EXPECT_EQ(outcome.exit_status, c.status);
    EXPECT_EQ(entries(), Names{"pic.scr"});
  }
}

TEST_F(CommandLine, WritesTheTapeUnderTheDerivedOrGivenName) {
  struct Case {
    std::string source;
    std::vector<std::string> arguments;
    std::string destination;
  };
  const Case cases[] = {
      {"pic.scr", {"pic.scr"}, "pic.tap"},
      {"pic", {"pic"}, "pic.tap"},
      {"pic.scr.old", {"pic.scr.old"}, "pic.tap"},
      {"juegos.v2/pic.scr", {"juegos.v2/pic.scr"}, "juegos.tap"},
#ifndef _WIN32
      {"...", {"..."}, ".tap"},  // Windows drops trailing dots from file names
#endif
      {"pic.scr", {"pic.scr", "pic.bin"}, "pic.bin"},
      {"pic.scr", {"pic.scr", "pic"}, "pic"},
      {"pic.scr", {"pic.scr", "otra/cinta.tap"}, "otra/cinta.tap"},
  };
  unsigned seed = 10;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source + " -> " + c.destination);
    TearDown();
    SetUp();
    fs::create_directories(dir_ / "otra");
    const Bytes source = random_bytes(6912, ++seed);
    write_file(c.source, source);
    const RunOutcome outcome = velmora(c.arguments);
    EXPECT_EQ(outcome.standard_output, SUCCESS);
    EXPECT_EQ(outcome.exit_status, 0);
    EXPECT_EQ(tape_fault(read_file(c.destination), source), "");
    EXPECT_EQ(read_file(c.source), source) << "the source must not change";
  }
}

// A dot in a folder's name ends the tape's name there, with the host's own
// separators and, on Windows, a drive letter in front.
TEST_F(CommandLine, DerivedNameStopsAtADotInAFolderName) {
  const Bytes source = random_bytes(6912, 13);
  write_file("mis.juegos/pic.scr", source);
  const std::string absolute = (dir_ / "mis.juegos" / "pic.scr").make_preferred().string();
  std::vector<std::string> sources = {absolute};
#ifdef _WIN32
  ASSERT_EQ(absolute[1], ':');
  sources.push_back("mis.juegos\\pic.scr");
#endif
  for (const std::string& name : sources) {
    SCOPED_TRACE(name);
    const RunOutcome outcome = velmora({name});
    EXPECT_EQ(outcome.standard_output, SUCCESS);
    EXPECT_EQ(tape_fault(read_file("mis.tap"), source), "");
    fs::remove(dir_ / "mis.tap");
  }
}

TEST_F(CommandLine, TakesTheFirstScreenOfAnySourceLength) {
  for (std::size_t size : {0u, 1u, 6143u, 6144u, 6911u, 6912u, 6913u, 200000u}) {
    SCOPED_TRACE("source of " + std::to_string(size) + " bytes");
    const Bytes source = random_bytes(size, static_cast<unsigned>(size));
    write_file("pic.scr", source);
    const RunOutcome outcome = velmora({"pic.scr"});
    EXPECT_EQ(outcome.standard_output, SUCCESS);
    EXPECT_EQ(outcome.exit_status, 0);
    EXPECT_EQ(tape_fault(read_file("pic.tap"), expected_screen(source)), "");
  }
}

TEST_F(CommandLine, ReplacesAnExistingDestinationWhole) {
  const Bytes source = random_bytes(6912, 3);
  write_file("pic.scr", source);
  write_file("pic.tap", Bytes(20000, 0xEE));
  EXPECT_EQ(velmora({"pic.scr"}).exit_status, 0);
  EXPECT_EQ(tape_fault(read_file("pic.tap"), source), "");
}

TEST_F(CommandLine, SameFileAsSourceAndDestinationBecomesTheTape) {
  const Bytes source = random_bytes(6912, 4);
  write_file("pic.scr", source);
  const RunOutcome outcome = velmora({"pic.scr", "pic.scr"});
  EXPECT_EQ(outcome.standard_output, SUCCESS);
  EXPECT_EQ(outcome.exit_status, 0);
  EXPECT_EQ(tape_fault(read_file("pic.scr"), source), "");
  EXPECT_EQ(entries(), Names{"pic.scr"});
}

TEST_F(CommandLine, FailuresSayWhyAndLeaveNoTape) {
  const std::string dir_of_200(200, 'd');
  const std::string stem_of_55(55, 'p');
  struct Case {
    std::vector<std::string> arguments;
    std::string output;
  };
  const Case cases[] = {
      {{"nada.scr"}, NO_SOURCE + FAILURE},
      {{"nada.scr", "cinta.tap"}, NO_SOURCE + FAILURE},
      {{"pic.scr", "no/existe/cinta.tap"}, NO_DESTINATION + FAILURE},
      {{"carpeta"}, FOLDER_AS_SOURCE + FAILURE},
      {{"carpeta", "cinta.tap"}, FOLDER_AS_SOURCE + FAILURE},
      {{"."}, FOLDER_AS_SOURCE + FAILURE},
      // 256 characters before ".tap": one more than fits.
      {{dir_of_200 + "/" + stem_of_55}, NAME_TOO_LONG + FAILURE},
      {{"pic.scr", std::string(260, 'g')}, NAME_TOO_LONG + FAILURE},
      {{"pic.scr", dir_of_200 + "/" + std::string(59, 'g')}, NAME_TOO_LONG + FAILURE},
  };
  write_file("pic.scr", random_bytes(6912, 5));
  write_file(dir_of_200 + "/" + stem_of_55, random_bytes(6912, 6));
  fs::create_directory(dir_ / "carpeta");
  const Names before = entries();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments[0] + (c.arguments.size() > 1 ? " " + c.arguments[1] : ""));
    const RunOutcome outcome = velmora(c.arguments);
    EXPECT_EQ(outcome.standard_output, c.output);
    EXPECT_EQ(outcome.exit_status, 1);
    EXPECT_EQ(entries(), before);
  }
}

TEST_F(CommandLine, NamesOfExactly259CharactersAreAccepted) {
  const std::string dir_of_200(200, 'd');
  const Bytes source = random_bytes(6912, 7);
  const std::string derived_source = dir_of_200 + "/" + std::string(54, 'p') + ".scr";
  write_file(derived_source, source);
  struct Case {
    std::vector<std::string> arguments;
    std::string destination;
  };
  const Case cases[] = {
      {{derived_source}, dir_of_200 + "/" + std::string(54, 'p') + ".tap"},
      {{derived_source, dir_of_200 + "/" + std::string(58, 'g')}, dir_of_200 + "/" + std::string(58, 'g')},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(c.destination.size(), 259u);
    const RunOutcome outcome = velmora(c.arguments);
    EXPECT_EQ(outcome.standard_output, SUCCESS);
    EXPECT_EQ(tape_fault(read_file(c.destination), source), "");
  }
}

#ifndef _WIN32

TEST_F(CommandLine, WriteFailureAnywhereInTheTapeRemovesIt) {
  // Limits that cut the tape before the preamble, inside it, at its end,
  // inside the screen and just before the checksum.
  const Bytes source = random_bytes(6912, 8);
  write_file("pic.scr", source);
  for (long long limit : {0LL, 1LL, 70LL, 71LL, 4096LL, 6983LL}) {
    SCOPED_TRACE("file size limit " + std::to_string(limit));
    write_file("vieja.tap", Bytes(100, 0x11));
    RunSettings settings;
    settings.file_size_limit = limit;
    for (const char* destination : {"pic.tap", "vieja.tap"}) {
      const RunOutcome outcome = velmora({"pic.scr", destination}, settings);
      EXPECT_EQ(outcome.standard_output, UNWRITABLE_DESTINATION + FAILURE);
      EXPECT_EQ(outcome.exit_status, 1);
    }
    EXPECT_EQ(entries(), Names{"pic.scr"});
  }
  RunSettings exact;
  exact.file_size_limit = 6984;
  EXPECT_EQ(velmora({"pic.scr"}, exact).standard_output, SUCCESS);
  EXPECT_EQ(tape_fault(read_file("pic.tap"), source), "");
}

TEST_F(CommandLine, WriteFailureOnADeviceLeavesTheDeviceAlone) {
  write_file("pic.scr", random_bytes(6912, 9));
  fs::create_symlink("/dev/full", dir_ / "lleno.tap");
  const RunOutcome outcome = velmora({"pic.scr", "lleno.tap"});
  EXPECT_EQ(outcome.standard_output, UNWRITABLE_DESTINATION + FAILURE);
  EXPECT_EQ(outcome.exit_status, 1);
  EXPECT_TRUE(fs::is_symlink(dir_ / "lleno.tap"));
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

TEST_F(CommandLine, DeviceSourcesGiveTheirFirstScreen) {
  const RunOutcome zeros = velmora({"/dev/zero", "cero.tap"});
  EXPECT_EQ(zeros.standard_output, SUCCESS);
  EXPECT_EQ(tape_fault(read_file("cero.tap"), Bytes(6912, 0)), "");

  const RunOutcome noise = velmora({"/dev/urandom", "ruido.tap"});
  EXPECT_EQ(noise.standard_output, SUCCESS);
  const Bytes tape = read_file("ruido.tap");
  ASSERT_EQ(tape.size(), 6984u);
  EXPECT_EQ(tape_fault(tape, Bytes(tape.begin() + 71, tape.end() - 1)), "");
}

TEST_F(CommandLine, PipeSourceIsReadAcrossShortReads) {
  // A writer that hands over a screen and a half in small pieces; the
  // reader must gather its 6912 bytes however they arrive.
  const Bytes source = random_bytes(10000, 11);
  const fs::path fifo = dir_ / "tuberia.scr";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const pid_t writer = fork();
  if (writer == 0) {
    signal(SIGPIPE, SIG_IGN);
    const int out = open(fifo.c_str(), O_WRONLY);
    for (std::size_t sent = 0; out >= 0 && sent < source.size(); sent += 1000) {
      if (write(out, source.data() + sent, std::min<std::size_t>(1000, source.size() - sent)) < 0) break;
      usleep(2000);
    }
    _exit(0);
  }
  const RunOutcome outcome = velmora({"tuberia.scr", "tuberia.tap"});
  waitpid(writer, nullptr, 0);
  EXPECT_EQ(outcome.standard_output, SUCCESS);
  EXPECT_EQ(tape_fault(read_file("tuberia.tap"), expected_screen(source)), "");
}

// A velmora linked with wrapped system calls: each fault is one that the
// file system or the heap can really produce.
TEST_F(CommandLine, InjectedFaultsFailCleanlyOrChangeNothing) {
  struct Case {
    std::string fault;
    std::string output;
    int status;
  };
  const Case cases[] = {
      {"", SUCCESS, 0},
      {"malloc", FAILURE, 1},
      {"read-error", UNREADABLE_SOURCE + FAILURE, 1},
      {"read-trickle", SUCCESS, 0},
      {"write-trickle", SUCCESS, 0},
      {"write-error", UNWRITABLE_DESTINATION + FAILURE, 1},
      {"close-error", UNWRITABLE_DESTINATION + FAILURE, 1},
  };
  const Bytes source = random_bytes(6912, 12);
  write_file("pic.scr", source);
  for (const Case& c : cases) {
    SCOPED_TRACE("fault " + c.fault);
    RunSettings settings;
    settings.working_directory = dir_.string();
    settings.environment = {"VELMORA_FAULT=" + c.fault};
    const RunOutcome outcome = run_program(VELMORA_FAULTY_PATH, {"pic.scr"}, settings);
    EXPECT_EQ(outcome.standard_error, "");
    EXPECT_EQ(outcome.standard_output, c.output);
    EXPECT_EQ(outcome.exit_status, c.status);
    if (c.status == 0) {
      EXPECT_EQ(tape_fault(read_file("pic.tap"), source), "");
      fs::remove(dir_ / "pic.tap");
    }
    EXPECT_EQ(entries(), Names{"pic.scr"});
  }
}

TEST_F(CommandLine, UnwritableStandardOutputFailsTheRun) {
  // The tape is complete, but the user was never told: that is no success.
  const Bytes source = random_bytes(6912, 10);
  write_file("pic.scr", source);
  RunSettings settings;
  settings.standard_output_file = "/dev/full";
  EXPECT_EQ(velmora({"pic.scr"}, settings).exit_status, 1);
  EXPECT_EQ(tape_fault(read_file("pic.tap"), source), "");
  EXPECT_EQ(velmora({}, settings).exit_status, 1);
}

#endif

}  // namespace
