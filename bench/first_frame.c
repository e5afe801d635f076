/*
 * Starts a program on the X display in $DISPLAY and prints how long it took from exec to the
 * first pixel on the screen that is not black, then ends the program.
 *
 *   first_frame [--timeout SECONDS] PROGRAM [ARGUMENT...]
 *   first_frame --capture-time
 *
 * Output on success, one line:
 *   first_frame_ms=F capture_ms=C toplevel=T
 * F: from just before exec to the first drawing the server reported after the last capture that was
 * still all black (the server's own time stamp, 1 ms steps). When that drawing is the one that
 * brought colour, F is exact; when black drawing came first, the coloured one lies between F and
 * F + C, where C runs from that report to the end of the capture that found colour. T is 1 when the
 * program mapped a window of its own on the root.
 * With --capture-time it prints capture_ms=C, the median time of one capture of the idle screen:
 * how far F can lie before the coloured drawing when black drawing came first.
 *
 * The screen must be black before the start (Xvfb -br); the root is cleared first so that what an
 * earlier program left on it does not count. Waiting is driven by the DAMAGE extension on the root
 * window, so nothing is polled while the program starts; each report is followed by one capture of
 * the whole screen (through MIT-SHM when the server offers it). Under Xvfb the root's damage covers
 * drawing in its child windows too; every window created on the root is watched as well for servers
 * where it does not.
 *
 * Exit status: 0 measured, 1 timed out or the program ended first, 2 usage or set-up error, 130
 * interrupted (SIGINT, SIGTERM or SIGHUP; the program is ended first).
 */
#define _GNU_SOURCE
#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

struct screen_capture {
    xcb_connection_t* connection;
    xcb_window_t root;
    uint16_t width;
    uint16_t height;
    int shm_id;
    uint8_t* shm_pixels;
    xcb_shm_seg_t shm_segment;
};

static volatile sig_atomic_t stop_requested = 0;

static void request_stop(int signal_number)
{
    (void)signal_number;
    stop_requested = 1;
}

static double now_ms(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1.0e6;
}

static void fail(const char* message)
{
    fprintf(stderr, "first_frame: %s\n", message);
    exit(2);
}

static int all_black(const uint8_t* pixels, size_t length)
{
    /* 24-bit pixels are stored in 32 bits; the top byte is padding and may hold anything. */
    const uint32_t* pixel = (const uint32_t*)pixels;
    size_t count = length / 4;
    uint32_t seen = 0;
    for (size_t index = 0; index < count; ++index)
        seen |= pixel[index];
    return (seen & 0x00ffffffu) == 0;
}

static void attach_shared_memory(struct screen_capture* capture)
{
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(capture->connection, &xcb_shm_id);
    if (!shm || !shm->present)
        return;
    size_t size = (size_t)capture->width * capture->height * 4;
    capture->shm_id = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    if (capture->shm_id < 0)
        return;
    capture->shm_pixels = shmat(capture->shm_id, NULL, 0);
    if (capture->shm_pixels == (void*)-1) {
        capture->shm_pixels = NULL;
        shmctl(capture->shm_id, IPC_RMID, NULL);
        return;
    }
    capture->shm_segment = xcb_generate_id(capture->connection);
    xcb_generic_error_t* error = xcb_request_check(capture->connection,
        xcb_shm_attach_checked(capture->connection, capture->shm_segment, (uint32_t)capture->shm_id, 0));
    /* Marked for removal now, so the segment goes away with this process whatever happens. */
    shmctl(capture->shm_id, IPC_RMID, NULL);
    if (error) {
        free(error);
        shmdt(capture->shm_pixels);
        capture->shm_pixels = NULL;
    }
}

/* Captures the whole screen; returns the sequence number of the capture request through
 *sequence and whether every pixel was black. */
static int screen_is_black(struct screen_capture* capture, unsigned int* sequence)
{
    if (capture->shm_pixels) {
        xcb_shm_get_image_cookie_t cookie = xcb_shm_get_image(capture->connection, capture->root, 0, 0, capture->width,
            capture->height, ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, capture->shm_segment, 0);
        *sequence = cookie.sequence;
        xcb_shm_get_image_reply_t* reply = xcb_shm_get_image_reply(capture->connection, cookie, NULL);
        if (!reply)
            fail("the screen capture through shared memory failed");
        free(reply);
        return all_black(capture->shm_pixels, (size_t)capture->width * capture->height * 4);
    }
    xcb_get_image_cookie_t cookie = xcb_get_image(
        capture->connection, XCB_IMAGE_FORMAT_Z_PIXMAP, capture->root, 0, 0, capture->width, capture->height, ~0u);
    *sequence = cookie.sequence;
    xcb_get_image_reply_t* reply = xcb_get_image_reply(capture->connection, cookie, NULL);
    if (!reply)
        fail("the screen capture failed");
    int black = all_black(xcb_get_image_data(reply), (size_t)xcb_get_image_data_length(reply));
    free(reply);
    return black;
}

static int compare_doubles(const void* left, const void* right)
{
    double difference = *(const double*)left - *(const double*)right;
    return (difference > 0) - (difference < 0);
}

static void print_capture_time(struct screen_capture* capture)
{
    enum { capture_count = 21 };
    double durations[capture_count];
    unsigned int sequence = 0;
    for (int index = 0; index < capture_count; ++index) {
        double began = now_ms();
        screen_is_black(capture, &sequence);
        durations[index] = now_ms() - began;
    }
    qsort(durations, capture_count, sizeof durations[0], compare_doubles);
    printf("capture_ms=%.1f\n", durations[capture_count / 2]);
}

/* The server stamps its reports in milliseconds of the same monotonic clock, modulo 2^32; that is
   the moment of drawing, whatever this program was busy with when the report arrived. */
static double report_time(double started, xcb_timestamp_t stamp)
{
    double received = now_ms();
    int32_t before_receipt = (int32_t)((uint32_t)received - stamp);
    if (before_receipt < 0 || (double)before_receipt > received - started)
        return received;
    return received - before_receipt;
}

static void watch_damage(xcb_connection_t* connection, xcb_window_t window)
{
    xcb_damage_create(connection, xcb_generate_id(connection), window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
}

static void end_program(pid_t program)
{
    kill(program, SIGTERM);
    for (int waited = 0; waited < 300; ++waited) {
        if (waitpid(program, NULL, WNOHANG) == program)
            return;
        usleep(10000);
    }
    kill(program, SIGKILL);
    waitpid(program, NULL, 0);
}

int main(int argc, char** argv)
{
    double timeout_ms = 10000;
    int first_argument = 1;
    int capture_time_only = argc == 2 && strcmp(argv[1], "--capture-time") == 0;
    if (argc > 2 && strcmp(argv[1], "--timeout") == 0) {
        timeout_ms = atof(argv[2]) * 1000;
        first_argument = 3;
    }
    if (!capture_time_only && (first_argument >= argc || timeout_ms <= 0))
        fail("usage: first_frame [--timeout SECONDS] PROGRAM [ARGUMENT...] | first_frame --capture-time");

    struct screen_capture capture = {0};
    capture.connection = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(capture.connection))
        fail("cannot open the display in DISPLAY");
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(capture.connection)).data;
    capture.root = screen->root;
    capture.width = screen->width_in_pixels;
    capture.height = screen->height_in_pixels;
    if (screen->root_depth != 24 && screen->root_depth != 32)
        fail("the screen must have 24-bit colour");

    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(capture.connection, &xcb_damage_id);
    if (!damage || !damage->present)
        fail("the X server has no DAMAGE extension");
    xcb_damage_query_version_reply_t* version = xcb_damage_query_version_reply(capture.connection,
        xcb_damage_query_version(capture.connection, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION), NULL);
    free(version);
    attach_shared_memory(&capture);
    if (capture_time_only) {
        print_capture_time(&capture);
        xcb_disconnect(capture.connection);
        return 0;
    }

    uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(capture.connection, capture.root, XCB_CW_EVENT_MASK, &events);
    watch_damage(capture.connection, capture.root);
    xcb_clear_area(capture.connection, 0, capture.root, 0, 0, 0, 0);
    unsigned int sequence = 0;
    if (!screen_is_black(&capture, &sequence))
        fail("the screen is not black before the start (is a window left on it, or was Xvfb started without -br?)");
    uint8_t damage_event = damage->first_event + XCB_DAMAGE_NOTIFY;
    xcb_generic_event_t* event;
    while ((event = xcb_poll_for_event(capture.connection)))
        free(event);

    /* Interrupted, the program it started is ended too rather than left running on the display. */
    struct sigaction on_stop = {.sa_handler = request_stop};
    sigaction(SIGINT, &on_stop, NULL);
    sigaction(SIGTERM, &on_stop, NULL);
    sigaction(SIGHUP, &on_stop, NULL);
    fflush(stdout);
    double started = now_ms();
    pid_t program = fork();
    if (program < 0)
        fail("cannot start a process");
    if (program == 0) {
        close(xcb_get_file_descriptor(capture.connection));
        execvp(argv[first_argument], argv + first_argument);
        fprintf(stderr, "first_frame: cannot run %s: %s\n", argv[first_argument], strerror(errno));
        _exit(127);
    }

    double reported = -1; /* the first damage report since the last all-black capture */
    int toplevel = 0;
    int outcome = 1;
    struct pollfd connection_fd = {.fd = xcb_get_file_descriptor(capture.connection), .events = POLLIN};
    while (!stop_requested && now_ms() - started < timeout_ms) {
        while ((event = xcb_poll_for_event(capture.connection))) {
            uint8_t type = event->response_type & 0x7f;
            if (type == damage_event && event->full_sequence >= sequence && reported < 0)
                reported = report_time(started, ((xcb_damage_notify_event_t*)event)->timestamp);
            else if (type == XCB_CREATE_NOTIFY)
                watch_damage(capture.connection, ((xcb_create_notify_event_t*)event)->window);
            else if (type == XCB_MAP_NOTIFY && ((xcb_map_notify_event_t*)event)->event == capture.root)
                toplevel = 1;
            free(event);
        }
        if (xcb_connection_has_error(capture.connection))
            fail("the connection to the X server broke");
        if (reported >= 0) {
            if (!screen_is_black(&capture, &sequence)) {
                printf("first_frame_ms=%.1f capture_ms=%.1f toplevel=%d\n", reported - started, now_ms() - reported,
                    toplevel);
                outcome = 0;
                break;
            }
            reported = -1;
            continue;
        }
        if (waitpid(program, NULL, WNOHANG) == program) {
            fprintf(stderr, "first_frame: %s ended before it drew anything\n", argv[first_argument]);
            xcb_disconnect(capture.connection);
            return 1;
        }
        xcb_flush(capture.connection);
        poll(&connection_fd, 1, 20);
    }
    if (stop_requested)
        outcome = 130;
    else if (outcome != 0)
        fprintf(stderr, "first_frame: %s drew nothing within %.0f s\n", argv[first_argument], timeout_ms / 1000);
    end_program(program);
    xcb_disconnect(capture.connection);
    return outcome;
}
