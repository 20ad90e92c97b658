/* A child of the peer comparison: a process with THREADS threads that all sleep until it
 * is killed, so that the machine has a known number of threads to read.
 *
 *   idle_threads THREADS
 */
#include <pthread.h>
#include <stdlib.h>
#include <unistd.h>

static void* sleep_forever(void* unused) {
  (void)unused;
  for (;;) pause();
  return NULL;
}

int main(int argc, char** argv) {
  int threads = argc > 1 ? atoi(argv[1]) : 1;
  for (int i = 1; i < threads; i++) {
    pthread_t thread;
    if (pthread_create(&thread, NULL, sleep_forever, NULL) != 0) return 1;
  }
  sleep_forever(NULL);
  return 0;
}
