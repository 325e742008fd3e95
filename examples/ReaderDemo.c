/* A first look at libVelmora.so through its C interface.
 *
 *   pyxReaderDemo              lists the USB readers that discovery finds
 *   pyxReaderDemo PORT         runs a reader's life against the serial reader on PORT (/dev/ttyUSB0, COM1)
 *   pyxReaderDemo --simulate   the same against a simulated reader served on a pseudo-terminal
 *
 * A reader's life: open, init, library information, metadata, beep, read and change the beeper volume,
 * read configuration 0, save the reader to a .hwg file and load it back, print the cards presented while
 * subscribed, unsubscribe, close. Any failure prints the library's message and ends with status 1. */

#define _POSIX_C_SOURCE 200809L

#include <errno.h>
#include <limits.h>
#include <signal.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "Reader/Reader_C.h"

#define SIMULATOR_HOST "pyxReaderSimulatorHost"
#define CARDS_WANTED 3
#define CARD_WAIT_MS 8000

static atomic_int cardsSeen;

/* Prints what the library reported and ends the program when the call failed. */
static void Check(const PyxResult* result, const char* what)
{
    if (result->ResultCode == 0)
    {
        return;
    }
    fprintf(stderr, "%s failed: %s\n", what, result->Message);
    if (result->HasProtocolException)
    {
        fprintf(stderr, "  protocol: %s (%s:%d)\n", result->ProtocolMessage, result->ProtocolFileName,
                (int)result->ProtocolLineNumber);
    }
    exit(1);
}

static void SleepMs(long milliseconds)
{
    struct timespec pause = {milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    while (nanosleep(&pause, &pause) != 0 && errno == EINTR)
    {
    }
}

/* Runs on the reader's dispatch thread. */
static void OnCard(const unsigned char* bytes, unsigned int bitCount)
{
    unsigned int byteCount = (bitCount + 7) / 8;
    if (byteCount > 32)
    {
        byteCount = 32;
    }
    char hex[2 * 32 + 1] = {0};
    for (unsigned int i = 0; i < byteCount; ++i)
    {
        snprintf(hex + 2 * i, 3, "%02X", bytes[i]);
    }
    printf("  card: %u bits, %s\n", bitCount, hex);
    fflush(stdout);
    atomic_fetch_add(&cardsSeen, 1);
}

static int ListUsbReaders(void)
{
    PyxResult result;
    size_t count = 0;
    Pyx_DiscoverUsbReaders(&result, NULL, &count);
    Check(&result, "Discovery");
    printf("%zu USB reader(s) found\n", count);
    if (count > 0)
    {
        PyxReaderDefinition* readers = calloc(count, sizeof *readers);
        if (readers == NULL)
        {
            fprintf(stderr, "Out of memory\n");
            return 1;
        }
        Pyx_DiscoverUsbReaders(&result, readers, &count);
        Check(&result, "Discovery");
        for (size_t i = 0; i < count; ++i)
        {
            printf("  %04X:%04X serial %s at %s\n", readers[i].DeviceId.VendorId,
                   readers[i].DeviceId.ProductId, readers[i].DeviceId.SerialNumber,
                   readers[i].DeviceId.UsbPath);
        }
        free(readers);
    }
    printf("Run with a serial port (for example /dev/ttyUSB0) or --simulate to try a reader.\n");
    return 0;
}

/* Makes a private folder for the demo's .hwg file; returns the file's path in `path`. */
static void MakeHwgPath(char* folder, size_t folderSize, char* path, size_t pathSize)
{
    snprintf(folder, folderSize, "/tmp/pyx-demo-XXXXXX");
    if (mkdtemp(folder) == NULL)
    {
        perror("mkdtemp");
        exit(1);
    }
    snprintf(path, pathSize, "%s/reader.hwg", folder);
}

static void RunReaderLife(const char* port)
{
    PyxResult result;

    PyxReaderDefinition definition;
    memset(&definition, 0, sizeof definition);
    definition.ProtocolType = PYX_PROTOCOL_SERIAL_BINARY;
    definition.SerialPortSettings.BaudRate = 9600;
    snprintf(definition.SerialPortSettings.PortName, sizeof definition.SerialPortSettings.PortName, "%s",
             port);
    definition.SerialPortSettings.ByteSize = 8;
    definition.SerialPortSettings.DataBits = 4; /* eight */
    definition.SerialPortSettings.StopBits = 1; /* one */

    Reader_Handle* reader = PyxReader_Open(&result, &definition, 1);
    Check(&result, "Open");
    printf("Opened the reader on %s\n", port);

    Pyx_Init(&result, reader);
    Check(&result, "Init");

    PyxLibraryInfo info = Pyx_BuildLibraryInfo();
    printf("Library: %s %s\n", info.LibraryName, info.Version);

    PyxReaderMetadata* metadata = calloc(1, sizeof *metadata);
    if (metadata == NULL)
    {
        fprintf(stderr, "Out of memory\n");
        exit(1);
    }
    Pyx_GetMetadataStruct(&result, reader, metadata, false);
    Check(&result, "Metadata");
    printf("Reader: part number %s, ESN %s, %u configuration(s)\n", metadata->PartNumber, metadata->Esn,
           (unsigned)metadata->ConfigurationCount);
    free(metadata);

    PyxReader_Beep(&result, reader, 2, PYX_BEEP_SHORT);
    Check(&result, "Beep");
    printf("Beeped twice\n");

    uint8_t volume = 0;
    PyxReader_GetBeeperVolume(&result, reader, &volume);
    Check(&result, "Reading the beeper volume");
    const uint8_t newVolume = (uint8_t)((volume + 1) % 4);
    PyxReader_SetBeeperVolume(&result, reader, newVolume);
    Check(&result, "Changing the beeper volume");
    PyxReader_GetBeeperVolume(&result, reader, &volume);
    Check(&result, "Reading the beeper volume");
    printf("Beeper volume now %u\n", volume);

    PyxReaderConfiguration configuration;
    PyxExtendedConfiguration* extended = calloc(1, sizeof *extended);
    if (extended == NULL)
    {
        fprintf(stderr, "Out of memory\n");
        exit(1);
    }
    PyxReader_GetReaderConfiguration(&result, reader, 0, &configuration, extended);
    Check(&result, "Reading configuration 0");
    printf("Configuration 0: card type 0x%04X, %u ID bits, data hold %u ms, keystroking %s\n",
           configuration.CardType, configuration.IdBitCount, configuration.DataHoldTimeMs,
           configuration.DisableKeystroking ? "off" : "on");
    free(extended);

    char folder[64];
    char hwgPath[PATH_MAX];
    MakeHwgPath(folder, sizeof folder, hwgPath, sizeof hwgPath);
    PyxReader_ReadHwgFileFromReader(&result, reader, hwgPath, true);
    Check(&result, "Saving the reader to a .hwg file");
    printf("Saved the reader's configurations to %s\n", hwgPath);
    PyxReader_WriteHwgFileToReader(&result, reader, hwgPath);
    Check(&result, "Loading the .hwg file");
    printf("Loaded them back into the reader\n");
    remove(hwgPath);
    rmdir(folder);

    printf("Waiting for cards (up to %d s)...\n", CARD_WAIT_MS / 1000);
    fflush(stdout);
    const uint32_t subscription =
        PyxReader_OnCredentialPresented(&result, reader, OnCard, PYX_CARD_DATA_SIZE_32_BYTES);
    Check(&result, "Subscribing to cards");
    for (int waited = 0; waited < CARD_WAIT_MS && atomic_load(&cardsSeen) < CARDS_WANTED; waited += 50)
    {
        SleepMs(50);
    }
    PyxReader_UnsubscribeCredentialCallback(&result, reader, subscription);
    Check(&result, "Unsubscribing");
    printf("%d card(s) seen\n", atomic_load(&cardsSeen));

    Pyx_Close(&result, reader);
    Check(&result, "Close");
    printf("Closed the reader\n");
}

/* The simulator host lives beside this program. */
static void HostPath(char* path, size_t size)
{
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
    {
        snprintf(path, size, "./%s", SIMULATOR_HOST);
        return;
    }
    self[length] = '\0';
    char* slash = strrchr(self, '/');
    if (slash != NULL)
    {
        *slash = '\0';
    }
    if (snprintf(path, size, "%s/%s", self, SIMULATOR_HOST) >= (int)size)
    {
        fprintf(stderr, "The demo's folder name is too long\n");
        exit(1);
    }
}

/* Starts the simulator host with pipes on its standard input and output. It serves until its input ends. */
static pid_t StartSimulator(char* port, size_t portSize, int* hostInput)
{
    char host[PATH_MAX];
    HostPath(host, sizeof host);

    int toHost[2];
    int fromHost[2];
    if (pipe(toHost) != 0 || pipe(fromHost) != 0)
    {
        perror("pipe");
        exit(1);
    }
    const pid_t child = fork();
    if (child < 0)
    {
        perror("fork");
        exit(1);
    }
    if (child == 0)
    {
        dup2(toHost[0], STDIN_FILENO);
        dup2(fromHost[1], STDOUT_FILENO);
        close(toHost[0]);
        close(toHost[1]);
        close(fromHost[0]);
        close(fromHost[1]);
        execl(host, SIMULATOR_HOST, (char*)NULL);
        fprintf(stderr, "Cannot start %s: %s\n", host, strerror(errno));
        _exit(127);
    }
    close(toHost[0]);
    close(fromHost[1]);
    *hostInput = toHost[1];

    /* The host's first line is the port it serves. */
    FILE* fromHostStream = fdopen(fromHost[0], "r");
    if (fromHostStream == NULL || fgets(port, (int)portSize, fromHostStream) == NULL)
    {
        fprintf(stderr, "The simulator did not start\n");
        exit(1);
    }
    fclose(fromHostStream);
    port[strcspn(port, "\n")] = '\0';
    return child;
}

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        return ListUsbReaders();
    }
    if (strcmp(argv[1], "--simulate") != 0)
    {
        RunReaderLife(argv[1]);
        return 0;
    }

    signal(SIGPIPE, SIG_IGN);
    char port[PATH_MAX];
    int hostInput = -1;
    const pid_t host = StartSimulator(port, sizeof port, &hostInput);
    printf("Simulated reader on %s\n", port);
    RunReaderLife(port);
    close(hostInput);
    int status = 0;
    waitpid(host, &status, 0);
    if (atomic_load(&cardsSeen) == 0)
    {
        fprintf(stderr, "The simulated reader presented no card\n");
        return 1;
    }
    return 0;
}
