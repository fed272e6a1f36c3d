<?php
// Tessaly work-order endpoint: a small reference server for Lumvex uploads.
//
// POST (multipart/form-data) with the fields security_key and workorder_id
// and the file field "file" (a JPEG of at most MAX_PICTURE_BYTES):
//   workorder_id "0"     creates a new work order holding the picture;
//   workorder_id "<n>"   adds the picture to the existing work order n.
// Success answers 302 with a Location naming the work order's page. A bad
// request (wrong key, no file, not a JPEG, too large, unknown work order,
// malformed number, a post from another site's page) answers 4xx, a data
// folder short of space 507; none of them has a Location or stores anything.
//
// GET ?workorder=<n>&token=<t>                 shows work order n;
// GET ?workorder=<n>&token=<t>&picture=<name>  serves one of its pictures.
// The token is made at random with the work order and handed out only in
// the Location of its uploads: whoever has the page address may see the
// work order, nobody else (numbers are easy to guess, tokens are not).
// GET without a work order lists every work order for whoever gives the
// security key as the password of HTTP basic authentication; the list is
// off while the key is the default one, which is no secret.
//
// Work orders are numbered from 1001, the pictures of each from 0001.jpg,
// by counters kept under the data folder's lock: a number is never handed
// out twice, even after its work order or picture was deleted.
//
// Settings come from the environment:
//   TESSALY_DATA          folder for the work orders (default: tessaly-data
//                         beside the served folder, never inside it: a web
//                         server would hand its files to anyone);
//   TESSALY_SECURITY_KEY  the key uploads must carry (default: the key a
//                         fresh Lumvex installation sends);
//   TESSALY_MIN_FREE_MB   free space the data folder's disk keeps; uploads
//                         that would leave less are refused (default 200).
//
// Run it with PHP's built-in server (see scripts/serve), which uses this
// file as its router, or under any web server as a plain script. From the
// command line it only warns when it would accept the default key.

declare(strict_types=1);

const DEFAULT_SECURITY_KEY = 'SKYQUOMBIRLA470470';
const SCRIPT_NAME = 'Tessaly.php';
const FIRST_WORKORDER = 1001;
// Numbers of up to 18 digits fit PHP's integers; no counter gets there.
const LAST_NUMBER = 999999999999999999;
const WORKORDER_PATTERN = '/^[1-9][0-9]{0,17}\z/';
const PICTURE_PATTERN = '/^[0-9]{4,18}\.jpg\z/';
const TOKEN_PATTERN = '/^[0-9a-f]{32}\z/';
const TOKEN_BYTES = 16;
// Plenty for a JPEG of a 4K screen; PHP's own upload limits must be larger.
const MAX_PICTURE_BYTES = 20 * 1024 * 1024;
const DEFAULT_MIN_FREE_MB = 200;
// Files of the data folder: the lock, and the last numbers handed out.
const LOCK_FILE = '.lock';
const WORKORDER_COUNTER = '.last-workorder';
const PICTURE_COUNTER = '.last-picture';
const TOKEN_FILE = '.token';

const PAGE_STYLE = <<<'CSS'
body { font: 15px/1.45 system-ui, sans-serif; margin: 0; background: #eef3f9; color: #1f2a37; }
header { background: #3e71aa; color: #fff; padding: 14px 28px; }
header h1 { margin: 0; font-size: 20px; font-weight: 600; }
main { padding: 20px 28px; }
figure { display: inline-block; margin: 0 18px 18px 0; background: #fff; padding: 10px;
         border: 1px solid #c9d6e6; border-radius: 6px; vertical-align: top; }
figure img { display: block; max-width: 480px; max-height: 320px; }
figcaption { margin-top: 6px; font-size: 13px; color: #52606f; }
a { color: #2c5d93; }
CSS;

function data_folder(): string
{
    $folder = getenv('TESSALY_DATA');
    if ($folder === false || $folder === '') {
        $root = $_SERVER['DOCUMENT_ROOT'] ?? '';
        $served = ($root !== '' && is_dir($root)) ? (string)realpath($root) : __DIR__;
        $folder = dirname($served) . DIRECTORY_SEPARATOR . 'tessaly-data';
    }
    return rtrim($folder, '/\\');
}

function security_key(): string
{
    $key = getenv('TESSALY_SECURITY_KEY');
    return ($key === false || $key === '') ? DEFAULT_SECURITY_KEY : $key;
}

function min_free_bytes(): float
{
    $megabytes = getenv('TESSALY_MIN_FREE_MB');
    $megabytes = is_string($megabytes) && preg_match('/^[0-9]{1,15}\z/', $megabytes)
        ? (float)$megabytes : DEFAULT_MIN_FREE_MB;
    return $megabytes * 1024 * 1024;
}

function html(string $text): string
{
    return htmlspecialchars($text, ENT_QUOTES | ENT_SUBSTITUTE, 'UTF-8');
}

// Ends the request with a status and a short plain-text reason.
function fail(int $status, string $reason): never
{
    http_response_code($status);
    header('Content-Type: text/plain; charset=utf-8');
    echo $reason, "\n";
    exit;
}

function workorder_folder(string $number): string
{
    return data_folder() . DIRECTORY_SEPARATOR . $number;
}

function request_scheme(): string
{
    return (!empty($_SERVER['HTTPS']) && $_SERVER['HTTPS'] !== 'off') ? 'https' : 'http';
}

function request_host(): string
{
    return $_SERVER['HTTP_HOST'] ?? ($_SERVER['SERVER_NAME'] ?? 'localhost');
}

// The page of a work order as an absolute address, for the Location header.
function workorder_page_url(string $number, string $token): string
{
    $path = parse_url($_SERVER['REQUEST_URI'] ?? ('/' . SCRIPT_NAME), PHP_URL_PATH);
    if (!is_string($path) || $path === '') {
        $path = '/' . SCRIPT_NAME;
    }
    return request_scheme() . '://' . request_host() . $path . '?' . workorder_query($number, $token);
}

function workorder_query(string $number, string $token): string
{
    return 'workorder=' . $number . '&token=' . $token;
}

// Runs $work while holding the data folder's lock, so that two uploads never
// take the same work-order or picture number.
function with_lock(callable $work): mixed
{
    $folder = data_folder();
    if (!is_dir($folder) && !@mkdir($folder, 0775, true) && !is_dir($folder)) {
        fail(500, 'The data folder cannot be created.');
    }
    $lock = @fopen($folder . DIRECTORY_SEPARATOR . LOCK_FILE, 'c');
    if ($lock === false || !flock($lock, LOCK_EX)) {
        fail(500, 'The data folder cannot be locked.');
    }
    try {
        return $work();
    } finally {
        flock($lock, LOCK_UN);
        fclose($lock);
    }
}

// Replaces a small file whole, so that a reader never sees half of it.
function write_file_whole(string $path, string $text): bool
{
    $new = $path . '.new';
    return @file_put_contents($new, $text) === strlen($text) && @rename($new, $path);
}

// The number after both the counter and the highest number in use, written
// back to the counter. Call with the lock held.
function next_number(string $counter, int $highestInUse): int
{
    $last = trim((string)@file_get_contents($counter));
    $last = preg_match('/^[0-9]{1,18}\z/', $last) ? (int)$last : 0;
    $next = max($last, $highestInUse) + 1;
    if ($next > LAST_NUMBER) {
        fail(507, 'The numbers of this server are used up.');
    }
    if (!write_file_whole($counter, $next . "\n")) {
        fail(500, 'The number counter cannot be written.');
    }
    return $next;
}

function existing_workorders(): array
{
    $numbers = [];
    foreach (scandir(data_folder()) ?: [] as $entry) {
        if (preg_match(WORKORDER_PATTERN, $entry) && is_dir(workorder_folder($entry))) {
            $numbers[] = (int)$entry;
        }
    }
    sort($numbers);
    return $numbers;
}

// The picture names of a work order, in the order they were stored.
function pictures_of(string $number): array
{
    $names = [];
    foreach (scandir(workorder_folder($number)) ?: [] as $entry) {
        if (preg_match(PICTURE_PATTERN, $entry)) {
            $names[] = $entry;
        }
    }
    usort($names, fn(string $a, string $b): int => (int)$a <=> (int)$b);
    return $names;
}

function stored_token(string $number): ?string
{
    $token = trim((string)@file_get_contents(workorder_folder($number) . DIRECTORY_SEPARATOR . TOKEN_FILE));
    return preg_match(TOKEN_PATTERN, $token) ? $token : null;
}

// The token of a work order, made now for one that has none yet (one made
// by hand, or by an older version of this server). Call with the lock held.
function token_of(string $number): string
{
    $token = stored_token($number);
    if ($token === null) {
        $token = bin2hex(random_bytes(TOKEN_BYTES));
        if (!write_file_whole(workorder_folder($number) . DIRECTORY_SEPARATOR . TOKEN_FILE, $token . "\n")) {
            fail(500, 'The work order cannot be given a token.');
        }
    }
    return $token;
}

// Whether the work order exists and the token is its own.
function opens_workorder(mixed $number, mixed $token): bool
{
    if (!is_string($number) || !is_string($token) || !preg_match(WORKORDER_PATTERN, $number)
        || !preg_match(TOKEN_PATTERN, $token) || !is_dir(workorder_folder($number))) {
        return false;
    }
    $stored = stored_token($number);
    return $stored !== null && hash_equals($stored, $token);
}

// Whether the file holds a whole JPEG: the start-of-image marker, marker
// segments that fit, a frame header, at least one scan and the end-of-image
// marker (anything after it is ignored, as decoders do). getimagesize alone
// reads no further than the frame header, so that a few header bytes
// followed by a web page pass it.
function is_jpeg(string $path): bool
{
    $info = @getimagesize($path);
    if ($info === false || $info[2] !== IMAGETYPE_JPEG || $info[0] < 1 || $info[1] < 1) {
        return false;
    }
    $bytes = @file_get_contents($path);
    if (!is_string($bytes) || strncmp($bytes, "\xFF\xD8", 2) !== 0) {
        return false;
    }
    $length = strlen($bytes);
    $at = 2;
    $frame = false;
    $scan = false;
    while ($at + 1 < $length) {
        if ($bytes[$at] !== "\xFF") {
            return false;
        }
        $marker = ord($bytes[$at + 1]);
        if ($marker === 0xFF) { // a fill byte
            ++$at;
            continue;
        }
        $at += 2;
        if ($marker === 0xD9) {
            return $frame && $scan;
        }
        if ($marker === 0x00 || $marker === 0x01 || ($marker >= 0xD0 && $marker <= 0xD8)) {
            return false;
        }
        if ($at + 2 > $length) {
            return false;
        }
        $size = unpack('n', $bytes, $at)[1];
        if ($size < 2 || $at + $size > $length) {
            return false;
        }
        $at += $size;
        // Start-of-frame markers: 0xC0 to 0xCF but for DHT, JPG and DAC.
        if ($marker >= 0xC0 && $marker <= 0xCF && !in_array($marker, [0xC4, 0xC8, 0xCC], true)) {
            $frame = true;
        }
        if ($marker === 0xDA) {
            if (!$frame) {
                return false;
            }
            $scan = true;
            // The coded data runs to the next marker: an 0xFF followed by
            // neither a stuffed zero, a restart marker nor another 0xFF.
            for (;;) {
                $at = strpos($bytes, "\xFF", $at);
                if ($at === false || $at + 1 >= $length) {
                    return false;
                }
                $next = ord($bytes[$at + 1]);
                if ($next === 0x00 || ($next >= 0xD0 && $next <= 0xD7)) {
                    $at += 2;
                } elseif ($next === 0xFF) {
                    ++$at;
                } else {
                    break;
                }
            }
        }
    }
    return false;
}

// Whether a browser sent the request from another site's page: browsers
// name the page's origin in every cross-site POST (a form needs no
// preflight), programs such as Lumvex send none.
function from_another_site(): bool
{
    $origin = $_SERVER['HTTP_ORIGIN'] ?? null;
    return is_string($origin) && strcasecmp($origin, request_scheme() . '://' . request_host()) !== 0;
}

function room_for(int $bytes): bool
{
    $free = @disk_free_space(data_folder());
    // A file system that tells nothing is taken as roomy.
    return $free === false || $free - $bytes >= min_free_bytes();
}

function handle_upload(): never
{
    // PHP drops every field of a body larger than post_max_size.
    if (!$_POST && !$_FILES && (int)($_SERVER['CONTENT_LENGTH'] ?? 0) > 0) {
        fail(413, 'The upload is larger than this server accepts.');
    }
    if (from_another_site()) {
        fail(403, 'Uploads from web pages are not accepted.');
    }
    $key = $_POST['security_key'] ?? null;
    if (!is_string($key) || !hash_equals(security_key(), $key)) {
        fail(403, 'Wrong security key.');
    }
    $requested = $_POST['workorder_id'] ?? null;
    if (!is_string($requested) || ($requested !== '0' && !preg_match(WORKORDER_PATTERN, $requested))) {
        fail(400, 'The work-order number is not a number.');
    }
    $file = $_FILES['file'] ?? null;
    if (is_array($file) && in_array($file['error'] ?? null, [UPLOAD_ERR_INI_SIZE, UPLOAD_ERR_FORM_SIZE], true)) {
        fail(413, 'The picture is larger than this server accepts.');
    }
    if (!is_array($file) || !is_int($file['error'] ?? null) || $file['error'] !== UPLOAD_ERR_OK
        || !is_uploaded_file($file['tmp_name'])) {
        fail(400, 'No picture arrived.');
    }
    $size = (int)filesize($file['tmp_name']);
    if ($size > MAX_PICTURE_BYTES) {
        fail(413, sprintf('The picture is larger than this server accepts (%d MB).', MAX_PICTURE_BYTES >> 20));
    }
    if (!is_jpeg($file['tmp_name'])) {
        fail(415, 'The picture is not a JPEG.');
    }

    [$number, $token] = with_lock(function () use ($requested, $file, $size): array {
        if (!room_for($size)) {
            fail(507, 'The server is short of disk space.');
        }
        $created = $requested === '0';
        if ($created) {
            $existing = existing_workorders();
            $number = (string)next_number(data_folder() . DIRECTORY_SEPARATOR . WORKORDER_COUNTER,
                max($existing ? max($existing) : 0, FIRST_WORKORDER - 1));
            if (!@mkdir(workorder_folder($number), 0775)) {
                fail(500, 'The work order cannot be created.');
            }
        } else {
            $number = $requested;
            if (!is_dir(workorder_folder($number))) {
                fail(404, 'There is no such work order.');
            }
        }
        $folder = workorder_folder($number);
        $token = token_of($number);
        $pictures = pictures_of($number);
        $next = next_number($folder . DIRECTORY_SEPARATOR . PICTURE_COUNTER,
            $pictures ? (int)end($pictures) : 0);
        $path = $folder . DIRECTORY_SEPARATOR . sprintf('%04d.jpg', $next);
        if (file_exists($path) || !move_uploaded_file($file['tmp_name'], $path)) {
            fail(500, 'The picture cannot be stored.');
        }
        return [$number, $token];
    });

    $page = workorder_page_url($number, $token);
    http_response_code(302);
    header('Location: ' . $page);
    header('Content-Type: text/html; charset=utf-8');
    echo '<!DOCTYPE html><title>Stored</title><p>Stored in <a href="', html($page), '">work order ',
        html($number), '</a>.</p>', "\n";
    exit;
}

function page_header(string $title): void
{
    // No script at all; the one style sheet, the pictures of this server.
    $style = "'sha256-" . base64_encode(hash('sha256', PAGE_STYLE, true)) . "'";
    header("Content-Security-Policy: default-src 'none'; img-src 'self'; style-src $style; "
        . "base-uri 'none'; form-action 'none'; frame-ancestors 'none'");
    header('Content-Type: text/html; charset=utf-8');
    echo "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>{$title}</title>\n",
        '<style>', PAGE_STYLE, "</style>\n</head>\n<body>\n<header><h1>{$title}</h1></header>\n<main>\n";
}

function page_footer(): void
{
    echo "</main>\n</body>\n</html>\n";
}

// The password of HTTP basic authentication, when one came.
function given_password(): ?string
{
    if (isset($_SERVER['PHP_AUTH_PW']) && is_string($_SERVER['PHP_AUTH_PW'])) {
        return $_SERVER['PHP_AUTH_PW'];
    }
    $header = $_SERVER['HTTP_AUTHORIZATION'] ?? ($_SERVER['REDIRECT_HTTP_AUTHORIZATION'] ?? '');
    if (!is_string($header) || !preg_match('/^Basic +([A-Za-z0-9+\/=]+)\z/i', $header, $match)) {
        return null;
    }
    $pair = base64_decode($match[1], true);
    $colon = is_string($pair) ? strpos($pair, ':') : false;
    return $colon === false ? null : substr($pair, $colon + 1);
}

function show_index(): never
{
    if (security_key() === DEFAULT_SECURITY_KEY) {
        fail(403, 'The list of work orders is off while this server accepts the default security key.');
    }
    $password = given_password();
    if ($password === null || !hash_equals(security_key(), $password)) {
        header('WWW-Authenticate: Basic realm="Tessaly work orders", charset="UTF-8"');
        fail(401, 'The list of work orders needs the security key as the password.');
    }
    // Work orders without a token get theirs now, so that each can be opened.
    $rows = is_dir(data_folder()) ? with_lock(function (): array {
        $rows = [];
        foreach (existing_workorders() as $number) {
            $rows[] = [(string)$number, token_of((string)$number), count(pictures_of((string)$number))];
        }
        return $rows;
    }) : [];
    header('Cache-Control: no-store');
    page_header('Tessaly work orders');
    if (!$rows) {
        echo "<p>No work orders yet.</p>\n";
    } else {
        echo "<ul>\n";
        foreach ($rows as [$number, $token, $count]) {
            printf("<li><a href=\"?%s\">Work order %s</a> (%d %s)</li>\n", html(workorder_query($number, $token)),
                $number, $count, $count === 1 ? 'picture' : 'pictures');
        }
        echo "</ul>\n";
    }
    page_footer();
    exit;
}

function show_workorder(mixed $number, mixed $token): never
{
    if (!opens_workorder($number, $token)) {
        fail(404, 'There is no such work order.');
    }
    page_header('Work order ' . html($number));
    $pictures = pictures_of($number);
    if (!$pictures) {
        echo "<p>This work order has no pictures yet.</p>\n";
    }
    foreach ($pictures as $name) {
        $path = workorder_folder($number) . DIRECTORY_SEPARATOR . $name;
        $src = '?' . workorder_query($number, $token) . '&picture=' . rawurlencode($name);
        printf("<figure><a href=\"%s\"><img src=\"%s\" alt=\"Picture %s\"></a>"
            . "<figcaption>%s, %s, %d KB</figcaption></figure>\n",
            html($src), html($src), html($name), html($name), date('Y-m-d H:i', (int)filemtime($path)),
            (int)ceil(filesize($path) / 1024));
    }
    page_footer();
    exit;
}

function send_picture(mixed $number, mixed $token, string $name): never
{
    if (!opens_workorder($number, $token) || !preg_match(PICTURE_PATTERN, $name)) {
        fail(404, 'There is no such picture.');
    }
    $path = workorder_folder($number) . DIRECTORY_SEPARATOR . $name;
    if (!is_file($path)) {
        fail(404, 'There is no such picture.');
    }
    header('Content-Type: image/jpeg');
    header('Content-Length: ' . filesize($path));
    readfile($path);
    exit;
}

if (PHP_SAPI === 'cli') {
    if (security_key() === DEFAULT_SECURITY_KEY) {
        fwrite(STDERR, <<<'TEXT'
        WARNING: the server accepts the default security key, which every fresh Lumvex
        installation sends: any program that reaches the server can store pictures in
        its work orders, and the list of all work orders is off. Choose a key of your
        own (letters and digits) and start the server with it:
            TESSALY_SECURITY_KEY='<your key>' scripts/serve
        and give Lumvex the same key, as the string value "securitykey" under
        HKEY_CURRENT_USER\Software\Tessaly_Orbicam\Lumvex\Settings\Common, set while
        Lumvex is not running (it writes its settings back when it ends):
            reg add HKCU\Software\Tessaly_Orbicam\Lumvex\Settings\Common /v securitykey /d "<your key>" /f
        (for scripts/run: WINEPREFIX=build/wine-run wine reg add ...).

        TEXT);
    }
    exit(0);
}

// Every answer: no sniffing of types, no scripts, no address of a work
// order's page passed on in a Referer. Pages widen the policy for their
// style and pictures.
header('X-Content-Type-Options: nosniff');
header("Content-Security-Policy: default-src 'none'; frame-ancestors 'none'; sandbox");
header('Referrer-Policy: no-referrer');

// Under PHP's built-in server this file routes every request: only its own
// address is served.
if (PHP_SAPI === 'cli-server') {
    $path = parse_url($_SERVER['REQUEST_URI'] ?? '/', PHP_URL_PATH);
    if ($path !== '/' . SCRIPT_NAME) {
        fail(404, 'Not found. The work-order endpoint is /' . SCRIPT_NAME . '.');
    }
}

$method = $_SERVER['REQUEST_METHOD'] ?? 'GET';
if ($method === 'POST') {
    handle_upload();
}
if ($method !== 'GET' && $method !== 'HEAD') {
    header('Allow: GET, HEAD, POST');
    fail(405, 'Method not allowed.');
}
$workorder = $_GET['workorder'] ?? null;
$picture = $_GET['picture'] ?? null;
if ($workorder !== null && is_string($picture)) {
    send_picture($workorder, $_GET['token'] ?? null, $picture);
}
if ($workorder !== null) {
    show_workorder($workorder, $_GET['token'] ?? null);
}
show_index();
