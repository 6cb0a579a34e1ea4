// kolven in a real terminal: a tmux server of the test's own runs the program in a pane, the test
// types the sample session key by key and reads the pane back. Each time the program waits for a
// line, the prompt it waits under must be on the screen with the cursor right after it; at a few
// points the screen must show exactly the expected lines. A second test keeps a session with tee,
// as README.md tells a user to, and replays it. Without a usable tmux the tests are skipped.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/tty/sample.hpp"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace kolven::testing {
namespace {

constexpr int kWidth = 100;
constexpr int kHeight = 50;

struct Output {
  int status = -1;
  std::string text;  // standard output and standard error
};

// Runs a program to its end and gives what it wrote.
Output run_program(std::vector<std::string> words) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const int null = open("/dev/null", O_RDONLY);
    dup2(null, 0);
    dup2(fds[1], 1);
    dup2(fds[1], 2);
    close(fds[0]);
    close(fds[1]);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  close(fds[1]);
  Output o;
  char buf[4096];
  for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) o.text.append(buf, n);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return o;
}

struct Screen {
  std::vector<std::string> rows;  // as tmux shows them, without trailing blanks
  int x = -1;                     // cursor column, from 0
  int y = -1;                     // cursor row, from 0

  std::string text() const {
    std::string s;
    for (std::size_t i = 0; i < rows.size(); ++i)
      s += (static_cast<int>(i) == y ? "> |" : "  |") + rows[i] + "\n";
    return s + "cursor at column " + std::to_string(x) + ", row " + std::to_string(y) + "\n";
  }
};

// A file of /proc about the process, or "".
std::string proc(int pid, const std::string& what) {
  return read_file("/proc/" + std::to_string(pid) + "/" + what);
}

// The kolven process whose parent is `parent`, or -1.
int kolven_child(int parent) {
  std::error_code ec;
  const fs::path binary = fs::canonical(KOLVEN_BINARY, ec);
  for (const auto& entry : fs::directory_iterator("/proc", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const int pid = std::atoi(name.c_str());
    const std::string stat = proc(pid, "stat");
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(stat.substr(close + 1));
    std::string state;
    int ppid = 0;
    fields >> state >> ppid;
    if (ppid != parent) continue;
    std::error_code none;
    if (fs::read_symlink(entry.path() / "exe", none) == binary) return pid;
  }
  return -1;
}

// A tmux server of the test's own, on a socket in a scratch folder, with one pane. The pane runs
// a shell command line that starts kolven, then shows "kolven status N" when the line has ended.
class Terminal {
 public:
  Terminal(const fs::path& dir, const std::string& command) {
    socket_ = (io_.path() / "tmux.sock").string();
    const fs::path conf = io_.path() / "tmux.conf";
    write_file(conf, "set -g remain-on-exit on\nset -g status off\nset -g history-limit 0\n");
    const Output o =
        run_program({"tmux", "-S", socket_, "-f", conf.string(), "new-session", "-d", "-s", "k",
                     "-x", std::to_string(kWidth), "-y", std::to_string(kHeight), "-c",
                     dir.string(), command + "; echo \"kolven status $?\""});
    if (o.status != 0) {
      error_ = "tmux new-session: status " + std::to_string(o.status) + " " + o.text;
      return;
    }
    started_ = true;
    const Output p = tmux({"display-message", "-p", "-t", "k", "#{pane_pid}"});
    const int shell = std::atoi(p.text.c_str());
    if (shell <= 0) {
      error_ = "no pane: " + p.text;
      return;
    }
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while ((pid_ = kolven_child(shell)) < 0 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(1ms);
    if (pid_ < 0) error_ = "kolven does not start in the pane";
  }

  ~Terminal() {
    if (started_) tmux({"kill-server"});
  }

  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  const std::string& error() const { return error_; }
  int pid() const { return pid_; }

  Output tmux(std::vector<std::string> args) const {
    args.insert(args.begin(), {"tmux", "-S", socket_});
    return run_program(args);
  }

  // Types a line as keys, then Enter.
  void type(const std::string& line) const {
    if (!line.empty()) tmux({"send-keys", "-t", "k", "-l", "--", line});
    tmux({"send-keys", "-t", "k", "Enter"});
  }

  void keys(const std::string& key) const { tmux({"send-keys", "-t", "k", key}); }

  Screen screen() const {
    const Output o = tmux({"capture-pane", "-p", "-t", "k", ";", "display-message", "-p", "-t", "k",
                           "#{cursor_x} #{cursor_y}"});
    Screen s;
    s.rows = lines_of(o.text);
    if (s.rows.empty()) return s;
    std::istringstream cursor(s.rows.back());
    s.rows.pop_back();
    cursor >> s.x >> s.y;
    for (std::string& r : s.rows)
      while (!r.empty() && r.back() == ' ') r.pop_back();
    return s;
  }

  // True once kolven has ended (it may still wait for its shell to collect it).
  bool program_gone() const {
    const std::string stat = proc(pid_, "stat");
    const std::size_t close = stat.rfind(')');
    return close == std::string::npos || stat.compare(close + 1, 3, " Z ") == 0;
  }

  // The status the command line shows once it has ended.
  std::optional<int> ended() const {
    for (const std::string& row : screen().rows)
      if (row.rfind("kolven status ", 0) == 0) return std::atoi(row.c_str() + 14);
    return std::nullopt;
  }

 private:
  Scratch io_;
  std::string socket_;
  std::string error_;
  bool started_ = false;
  int pid_ = -1;
};

// Bytes the process has read so far, from /proc; -1 when it is gone.
long long bytes_read(int pid) {
  std::istringstream in(read_file("/proc/" + std::to_string(pid) + "/io"));
  std::string key;
  long long value = -1;
  while (in >> key >> value)
    if (key == "rchar:") return value;
  return -1;
}

// True while the process is blocked in read(2) on its standard input.
bool reading_console(int pid) {
  const std::string call = read_file("/proc/" + std::to_string(pid) + "/syscall");
  return call.rfind(std::to_string(SYS_read) + " 0x0 ", 0) == 0;
}

// What the screen must show while the program waits for one typed line.
struct Expect {
  std::vector<std::string> above;  // the rows right above the cursor row, the nearest last
  std::string prompt;              // the cursor row up to the cursor
  int row = -1;                    // the cursor row, when it is fixed
};

std::string mismatch(const Screen& s, const Expect& e) {
  if (s.y < 0) return "no cursor";
  if (e.row >= 0 && s.y != e.row) return "the cursor is not on row " + std::to_string(e.row);
  if (s.y >= static_cast<int>(s.rows.size())) return "the cursor is off the screen";
  std::string prompt = e.prompt;
  while (!prompt.empty() && prompt.back() == ' ') prompt.pop_back();
  if (s.rows[s.y] != prompt) return "the cursor row is not [" + e.prompt + "]";
  if (s.x != static_cast<int>(e.prompt.size()))
    return "the cursor is not right after [" + e.prompt + "]";
  if (static_cast<int>(e.above.size()) > s.y) return "fewer rows above the cursor than expected";
  for (std::size_t j = 1; j <= e.above.size(); ++j)
    if (s.rows[s.y - j] != e.above[e.above.size() - j])
      return "row " + std::to_string(s.y - j) + " is not [" + e.above[e.above.size() - j] + "]";
  if (e.row >= 0)
    for (std::size_t r = s.y + 1; r < s.rows.size(); ++r)
      if (!s.rows[r].empty()) return "row " + std::to_string(r) + " is not empty";
  return "";
}

// Waits until the program is blocked reading the console after having read `after` bytes, then
// until the pane shows what is expected. Empty when it does, else what went wrong.
std::string wait_at(const Terminal& t, long long after, const Expect& e) {
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (!(bytes_read(t.pid()) >= after && reading_console(t.pid()))) {
    if (t.program_gone()) return "the program ended";
    if (std::chrono::steady_clock::now() > deadline) return "the program does not wait for a line";
    std::this_thread::sleep_for(1ms);
  }
  // Everything is written now; tmux may still be drawing it.
  Screen s;
  std::string why;
  const auto drawn = std::chrono::steady_clock::now() + 5s;
  do {
    s = t.screen();
    why = mismatch(s, e);
    if (why.empty()) return "";
    std::this_thread::sleep_for(5ms);
  } while (std::chrono::steady_clock::now() < drawn);
  return why + "\n" + s.text();
}

std::vector<std::string> generator_screen(int i, const std::vector<std::string>& before) {
  std::vector<std::string> rows = before;
  const std::vector<std::string> screen = {
      "",
      "",
      "          Dados do Gerador  " + std::to_string(i),
      "",
      "",
      "  ENTRE COM:",
      "        BUS = Barra do Gerador",
      "        T = Tipo de modelo de maquina",
      "               (= 0 para tensao de excitacao constante,",
      "                = 1 para modelo de 3a. ordem,",
      "                = 2 como tipo1,porem sem regulador de tensao,",
      "                = 3 para modelo de 6a. ordem)",
      "        R = Resistencia da Armadura",
      "        XLD = Reatancia ttransitoria de eixo-d",
      "        XQ = Reatancia de eixo-q",
      "        XD = Reatancia sincrona de eixo-d",
      "        H = Constante de inercia(s)",
      "        D = Constante de amortecimento",
      "        TLD0 = Cte. de tempo transitoria de eixo-d em circ. aberto",
      "",
      "",
      " BUS T   R     XLD     XQ     XD     H      D     TLDO",
      " --- - ------ ------ ------ ------ ------ ------ ------",
  };
  rows.insert(rows.end(), screen.begin(), screen.end());
  return rows;
}

const std::string kPause = "Vesker Pause - Enter command<CR> or <CR> to continue.";
const std::string kBox = "  *****************************************************";
const std::vector<std::string> kExcitation1 = {
    " K   KA     TA    VMAX   VMIN    KE     TE     AX     BX",
    " - ------ ------ ------ ------ ------ ------ ------ ------"};
const std::vector<std::string> kExcitation2 = {
    " Mu_s   TSE     T1     T2    TSEN   TM1    TM2    TM3    TM4",
    "------ ------ ------ ------ ------ ------ ------ ------ ------"};
const std::vector<std::string> kExcitation3 = {" XVMAX  XVMIN  EXTY", "------ ------ ------"};
const std::vector<std::string> kTopology = {" NLLW  NLLP  IZW  IZP  YVMAX   YVMIN",
                                            "  --    --    -    -  ------- -------"};

// What the screen shows while the sample session waits for each of its lines.
std::vector<Expect> sample_screens(const std::vector<std::string>& typed) {
  std::vector<Expect> e;
  // At the first pause: the whole screen.
  e.push_back({{"",
                "",
                kBox,
                "  **                                                 **",
                "  **                    KOLVEN                       **",
                "  **-------------------------------------------------**",
                "  **                                                 **",
                "  **    Geracao de Dados para programa ORVANDEL:     **",
                "  **     Analise de Estabilidade Transitoria de      **",
                "  **         Sistemas Eletricos de Potencia          **",
                "  **                                                 **",
                "  **-------------------------------------------------**",
                "  **                  Versao 1.0                     **",
                "  **                                                 **",
                "  **      Autoria: Engenheiro Eletricista, D.Sc.     **",
                "  **    Grupo de Pesquisa em Sistemas de Potencia    **",
                "  **       Departamento de Engenharia Eletrica       **",
                "  **                 Outubro, 2007                   **",
                kBox,
                kPause},
               "",
               20});
  e.push_back({{"     torio onde se encontram os arquivos executaveis de",
                "     KOLVEN e ORVANDEL.", "", kBox, kPause},
               ""});
  // The row of the empty line typed at the pause, then two empty rows.
  e.push_back(
      {{kPause, "", "", "", " Entre com o nome do arquivo com resultados do FLUXO DE POTENCIA,"},
       " de extensao \"din\" (max. 8 carac., nao digite a extensao): "});
  e.push_back({{" de extensao \"din\" (max. 8 carac., nao digite a extensao): " + typed[2], "", ""},
               " Entre com o nome do arquivo a ser criado (sem extensao, max. 8 carac): "});
  // At the title: the answer to the file dialogue and the whole title prompt.
  e.push_back(
      {{" Entre com o nome do arquivo a ser criado (sem extensao, max. 8 carac): " + typed[3], "",
        "", "           *** Novo arquivo serah criado ***", "", "", " **********",
        " Titulo do caso a ser analisado (80 posicoes):", ""},
       " --> "});
  // At the system size: the typed title, and the screen right under it.
  e.push_back({{" --> " + typed[4], "          Dados Relativos aa Dimensao do Sistema", "", "",
                "  ENTRE COM:", "        NB = No. BARRAS DO SISTEMA", "        NG = No. GERADORES",
                "        NL = No. LINHAS DE TRANSMISSAO/TRAFOS", "", "            NB    NG   NLT",
                "          ----- ----- -----"},
               ""});
  // At the disturbance type: the whole table of options.
  e.push_back({{typed[5], "", "", " **********", " Tipo de Perturbacao", "", "",
                " ENTRE COM DIGITO 1 SOB A SETA, INDICANDO A OPCAO DESEJADA :", "",
                " |--------||--------||--------||--------||--------||--------||--------|",
                "            CC TRIF             CC TRIF             PERTURB   PERTURB",
                "   REGIME   C/ ABERT  REJEICAO  S/ ABERT   ABERT    INIC EM   INIC EM",
                "    PERM.   DA LINHA   CARGA    DE LINHA  CONDUTOR   VELOC     ANGULO",
                " |--------||--------||--------||--------||--------||--------||--------|",
                "     V         V         V         V         V         V         V"},
               ""});
  e.push_back({{"            DT      TIF", "          ------- -------"}, ""});
  e.push_back({{"           LF   JK   JKK   TCL", "          ---- ---- ---- -------"}, ""});
  e.push_back({generator_screen(1, {}), ""});
  e.push_back({kExcitation1, ""});
  e.push_back({kExcitation2, ""});
  e.push_back({kExcitation3, ""});
  e.push_back({kTopology, ""});
  e.push_back(
      {{typed[13], "", "", "Sinal estabilizador derivado de w  com 2 estagio(s) de avanco-atraso",
        "", "                        ** Zeros reais **", "", "", "  ENTRE COM:",
        "        KEsp = Ganho do ESP", "        TW = Cte. de tempo do bloco washout",
        "        T1w = Parametro de tempo do numeradordo 1o. bloco do ESP",
        "        T3w = Parametro de tempo do numeradordo 2o. bloco do ESP",
        "        T2w = Constante de tempo do 1o. blocodo ESP",
        "        T4w = Constante de tempo do 2o. bloco do ESP", "", "",
        "  KEsp    TW     T1w    T3w    T2w    T4w", " ------ ------ ------ ------ ------ ------"},
       ""});
  // At generator 2: the typed stabiliser line, the absent power-derived stabiliser, the screen.
  e.push_back({generator_screen(
                   2, {typed[14], "", "",
                       "        Nao ha sinal estabilizador derivado da potencia eletrica", "", ""}),
               ""});
  e.push_back(
      {{"  TLQ0   XLQ    TLLD   TLLQ   XLLD    XL", " ------ ------ ------ ------ ------ ------"},
       ""});
  e.push_back({kExcitation1, ""});
  e.push_back({kExcitation2, ""});
  e.push_back({kExcitation3, ""});
  e.push_back({kTopology, ""});
  e.push_back(
      {{typed[20], "", "", "Sinal estabilizador derivado de w  com 1 estagio(s) de avanco-atraso",
        "", "", "  ENTRE COM:", "        KEsp = Ganho do ESP",
        "        TW = Cte. de tempo do bloco washout",
        "        Tnum = Parametro de tempo do numerador Do ESP",
        "        Tden = Constante de tempo do ESP", "", "", "  KEsp    TW    Tnum   Tden",
        " ------ ------ ------ ------"},
       ""});
  // At the power-derived stabiliser of generator 2: its heading under the typed line.
  e.push_back(
      {{typed[21], "", "", "Sinal estabilizador derivado de Pe com 2 estagio(s) de avanco-atraso",
        "", "                        ** Zeros complexos **", "", "", "  ENTRE COM:",
        "        KEsp = Ganho do ESP", "        TW = Cte. de tempo do bloco washout",
        "        A = Coeficiente do termo quadratico do numerador do ESP",
        "        B = Coeficiente do termo linear do numerador do ESP",
        "        T2p = Primeira constante de de tempo do ESP",
        "        T4p = Segunda constante de tempo do ESP", "", "",
        "  KEsp    TW      A      B     T2p    T4p", " ------ ------ ------ ------ ------ ------"},
       ""});
  e.push_back({generator_screen(3, {typed[22]}), ""});
  return e;
}

bool wait_until(const std::function<bool()>& done, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

std::string quoted(const std::string& s) {
  return "'" + s + "'";
}

TEST(Terminal, SampleSessionShowsEachPromptBeforeWaiting) {
  const std::vector<std::string> typed = lines_of(read_file(kExamples / "caso.txt"));
  const std::vector<Expect> screens = sample_screens(typed);
  ASSERT_EQ(typed.size(), screens.size());

  SampleFolder folder;
  Terminal t(folder.path(), quoted(KOLVEN_BINARY));
  if (!t.error().empty()) GTEST_SKIP() << "no usable tmux: " << t.error();

  long long consumed = 0;
  for (std::size_t k = 0; k < typed.size(); ++k) {
    SCOPED_TRACE("line " + std::to_string(k + 1) + " of caso.txt: [" + typed[k] + "]");
    const std::string why = wait_at(t, consumed, screens[k]);
    ASSERT_EQ("", why);
    consumed = bytes_read(t.pid()) + static_cast<long long>(typed[k].size()) + 1;
    t.type(typed[k]);
  }
  std::optional<int> status;
  ASSERT_TRUE(wait_until([&] { return (status = t.ended()).has_value(); }, 20s))
      << t.screen().text();
  EXPECT_EQ(0, *status) << t.screen().text();
  expect_same_bytes("caso1.dad", read_file(kExamples / "caso.dad"), folder.file("caso1.dad"));
}

TEST(Terminal, SessionKeptWithTeeReplays) {
  const std::vector<std::string> typed = lines_of(read_file(kExamples / "caso.txt"));
  const std::string expected = read_file(kExamples / "caso.dad");

  SampleFolder folder;
  Terminal t(folder.path(), "tee sessao.txt | " + quoted(KOLVEN_BINARY));
  if (!t.error().empty()) GTEST_SKIP() << "no usable tmux: " << t.error();

  for (const std::string& line : typed) t.type(line);
  ASSERT_TRUE(wait_until([&] { return folder.file("caso1.dad") == expected; }, 30s))
      << t.screen().text();
  ASSERT_TRUE(wait_until([&] { return t.program_gone(); }, 20s)) << t.screen().text();
  // kolven has ended, but tee waits for more until Ctrl-D.
  std::this_thread::sleep_for(200ms);
  EXPECT_FALSE(t.ended().has_value()) << t.screen().text();
  t.keys("C-d");
  std::optional<int> status;
  ASSERT_TRUE(wait_until([&] { return (status = t.ended()).has_value(); }, 20s))
      << t.screen().text();
  EXPECT_EQ(0, *status);

  const std::string kept = folder.file("sessao.txt");
  expect_same_bytes("sessao.txt", read_file(kExamples / "caso.txt"), kept);

  SampleFolder replay;
  const Result r = replay.run(lines_of(kept));
  EXPECT_EQ(0, r.status);
  expect_same_bytes("caso1.dad of the replay", expected, replay.file("caso1.dad"));
}

}  // namespace
}  // namespace kolven::testing
