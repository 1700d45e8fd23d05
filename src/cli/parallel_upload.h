#pragma once
// The command line's upload run: up to `jobs` files in flight at once, each sent as the
// window's run sends it (UploadOneFile: a client of its own, the same requests), while
// everything the user sees keeps the files' order: their log lines, their records in the
// history and the listener's calls after the first one of each file. The thread that runs
// it is the UI thread: it owns the history and the database.
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/queue_ui_thread.h"
#include "upload/file_upload.h"
#include "upload/upload_context.h"

namespace cvu::cli {

class ParallelUpload {
 public:
  // Told on the UI thread. started, bytesSent and uploaded come as they happen, for
  // every file in flight; the rest, and the log lines of a file, once the files before
  // it are done.
  struct Listener : UploadEvents {
    // A stamped activity log line of the file (-1: of the run itself).
    virtual void logLine(int file, const std::string& line) = 0;
  };

  ParallelUpload(UploadContext& ctx, QueueUiThread& ui, std::vector<std::string> paths, int jobs, Listener& listener);
  ~ParallelUpload();
  ParallelUpload(const ParallelUpload&) = delete;
  ParallelUpload& operator=(const ParallelUpload&) = delete;

  // Sends the files and returns when every one was handled or, after a stop, when those
  // in flight were. UI thread.
  void run();
  // Any thread: no file starts after this; those in flight go on.
  void stop();
  // Any thread: the requests in flight end now, as failed ones.
  void abort();

  // How many files were started (taken from the list): those after them were not sent.
  int taken() const;
  // The file whose log lines are being told (-1 before and after the files). UI thread.
  int currentFile() const { return running_ ? head_ : -1; }

 private:
  class Steps;
  struct FileState {
    bool done = false;
    bool missing = false;
    FileUploadResult result;
    std::vector<std::string> lines;  // written before the file's turn
  };

  void work();                   // a worker thread
  void send(int file);           // a worker thread
  bool mayTake(int file) const;  // guarded by mutex_
  void readInputs();             // UI thread
  void onLine(int file, std::string line);
  void onDone(int file, bool missing, FileUploadResult result);
  void finishHead();
  void tellOutcome(int file);
  void tellLine(int file, const std::string& line);
  void logOfRun(const std::string& message);
  bool over() const;

  UploadContext& ctx_;
  QueueUiThread& ui_;
  const std::vector<std::string> paths_;
  const int jobs_;
  Listener& listener_;
  FileUploadRequest inputs_;  // the options and account of every file, read at the start

  std::vector<FileState> files_;  // UI thread
  int head_ = 0;                  // the first file not yet done with; written on the UI thread under mutex_
  bool separatorDue_ = false;     // a file was done with: the next file's lines follow a separator
  bool running_ = false;          // UI thread

  mutable std::mutex mutex_;
  std::condition_variable turn_;
  int next_ = 0;          // the next file to take; guarded by mutex_
  bool stopped_ = false;  // guarded by mutex_
  int working_ = 0;       // workers not yet returned; guarded by mutex_
  std::vector<std::thread> workers_;
};

}  // namespace cvu::cli
