// The reference for the program's start-up and memory: the least a Qt program of the
// same toolkit does to show a window of the main window's size (600 x 530) and answer a
// later start's "show\n" with "shown\n", with the same connection handling as the
// program's single-instance server, so both are pinged alike. With --text the window
// shows one line of text, which is what any window pays for drawing text at all: the
// font database, a font engine and the glyphs.
//
//   bench_minimal_window SOCKET_PATH [--text]
#include <QApplication>
#include <QLabel>
#include <QLocalServer>
#include <QLocalSocket>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
  const bool text = argc == 3 && std::strcmp(argv[2], "--text") == 0;
  if (argc != 2 && !text) {
    std::fprintf(stderr, "usage: bench_minimal_window SOCKET_PATH [--text]\n");
    return 2;
  }
  const QString name = QString::fromLocal8Bit(argv[1]);
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  QWidget window;
  window.resize(600, 530);
  if (text) {
    auto* layout = new QVBoxLayout(&window);  // owned by the window, as is the label
    layout->addWidget(new QLabel(QString::fromUtf8("Выберите изображения для загрузки")));
  }
  window.show();
  QLocalServer server;
  server.setSocketOptions(QLocalServer::UserAccessOption);
  QLocalServer::removeServer(name);
  QObject::connect(&server, &QLocalServer::newConnection, &server, [&server, &window] {
    while (QLocalSocket* socket = server.nextPendingConnection()) {
      QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      QObject::connect(socket, &QLocalSocket::readyRead, &server, [socket, &window] {
        if (!socket->canReadLine()) return;
        if (socket->readLine() == "show\n") {  // what the program does to its main window
          window.showNormal();
          window.raise();
          window.activateWindow();
        }
        socket->write("shown\n");
        socket->disconnectFromServer();
      });
    }
  });
  if (!server.listen(name)) {
    std::fprintf(stderr, "cannot listen on %s\n", argv[1]);
    return 1;
  }
  return QApplication::exec();
}
